#include "gui/text/BinaryCommands.h"

#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/base/UiSeam.h"
#include "core/text/BinaryBlocks.h"
#include "gui/text/Cbinblk.h"

#include <string>

namespace {

// The file last chosen in this run: the next file dialog starts in its folder.
std::string g_lastFile = std::string("*.") + binblocks::kDefaultExt;

// Asks bank, start and length, starting from the remembered range and bank 0; remembers the range.
bool AskRange(QWidget* parent, unsigned& bank) {
    binblocks::BlockRange& range = binblocks::blockRange();
    Cbinblk dialog(0, range.start, range.length, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    bank = dialog.bank();
    range.start = dialog.start();
    range.length = dialog.length();
    return true;
}

} // namespace

void LoadBinary(QWidget* parent) {
    unsigned bank = 0;
    if (!AskRange(parent, bank))
        return;
    const std::string path =
        ui().AskOpenFileName("Open", binblocks::kFilter, binblocks::kDefaultExt, g_lastFile);
    if (path.empty())
        return;
    g_lastFile = path;
    const binblocks::BlockRange& range = binblocks::blockRange();
    binblocks::LoadBinaryFile(path, static_cast<int>(bank), range.start, range.length);
}

void SaveBinary(QWidget* parent) {
    unsigned bank = 0;
    if (!AskRange(parent, bank))
        return;
    const std::string path =
        ui().AskSaveFileName("Save As", binblocks::kFilter, binblocks::kDefaultExt, g_lastFile);
    if (path.empty())
        return;
    g_lastFile = path;
    const binblocks::BlockRange& range = binblocks::blockRange();
    binblocks::SaveBinaryFile(path, static_cast<int>(bank), range.start, range.length);
}

void BindBinaryCommands(CommandRegistry& registry, QWidget* parent) {
    registry.Bind(ID_FILE_LOAD_BINARY, [parent] { LoadBinary(parent); });
    registry.Bind(ID_FILE_SAVE_BINARY, [parent] { SaveBinary(parent); });
}
