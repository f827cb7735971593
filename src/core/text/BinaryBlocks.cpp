#include "core/text/BinaryBlocks.h"

#include "core/base/CoreState.h"
#include "core/base/SaveFile.h"
#include "core/base/UiSeam.h"
#include "core/protocol/BlockTransfer.h"
#include "core/protocol/Protocol.h"

#include <QDir>
#include <QFile>

namespace binblocks {
namespace {

std::string Shown(const std::string& path) {
    return QDir::toNativeSeparators(QString::fromStdString(path)).toStdString();
}

void ShowFileError(const std::string& path, const char* what, const QString& error) {
    ui().ShowMessage(Shown(path) + what + error.left(255).toStdString());
}

// Closes the held box on every way out of a transfer.
class HeldBox {
public:
    explicit HeldBox(const std::string& text) { protocol().ShowHeldBox(text, WaitBoxStyle::Progress); }
    ~HeldBox() { protocol().CloseHeldBox(); }
    HeldBox(const HeldBox&) = delete;
    HeldBox& operator=(const HeldBox&) = delete;
};

} // namespace

BlockRange& blockRange() {
    return coreState().Get<BlockRange>();
}

bool LoadBinaryFile(const std::string& path, int bank, unsigned start, unsigned length) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        ShowFileError(path, " could not be opened because of this error: ", file.errorString());
        return false;
    }
    // A read error is reported by the transfer, which then stops.
    HeldBox box("Loading " + Shown(path));
    return DownloadBlock(file, bank, start, length);
}

bool SaveBinaryFile(const std::string& path, int bank, unsigned start, unsigned length) {
    SaveFile file(path);
    if (!file.Open()) {
        ShowFileError(path, " could not be opened because of this error: ", file.ErrorString());
        return false;
    }
    bool ok = false;
    {
        HeldBox box("Saving " + Shown(path));
        ok = UploadBlock(file.Device(), bank, start, length);
    }
    if (!file.Commit()) {
        const QString error = file.ErrorString();
        file.Cancel();
        ShowFileError(path, " could not be saved because of this error: ", error);
        return false;
    }
    return ok;
}

} // namespace binblocks
