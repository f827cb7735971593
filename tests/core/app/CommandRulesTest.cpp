#include "core/app/CommandRules.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/link/CommLink.h"
#include "core/macros/Cmacdoc.h"
#include "core/project/CPosDat.h"
#include "core/protocol/Protocol.h"
#include "core/robot/CSettings.h"
#include "support/CoreTest.h"

#include <functional>
#include <set>

namespace {

using Ids = std::set<int>;

// Each state adds to the one before and turns commands on or off; every command named anywhere is
// checked at every step, the facts read from the documents and the link as they stand.
class CommandRules : public CoreTest {};

TEST_F(CommandRules, EachCommandFollowsTheDocumentsAndTheLink) {
    const struct {
        const char* state;
        std::function<void()> enter;
        Ids on, off;
    } steps[] = {
        {"nothing open",
         [] {},
         {ID_PROJECT_NEW, ID_PROJECT_OPEN, ID_FILE_DOWNLOAD_FILE, ID_FILE_LOAD_BINARY, ID_FILE_SAVE_BINARY,
          ID_SETTINGS_OPEN, ID_COMM_SAVE},
         {ID_MACRO_BUTTON_FIRST + 2}},
        {"a macro set of two and the settings changed",
         [this] {
             ASSERT_TRUE(macroDoc().OpenFile(Write("m.mac", QByteArray("\x01\x00\x01M\x01\x00\x01X", 8))));
             macroDoc().Append("N", "Y");
             settings().SetAxisNames(2, {"X", "Y"});
         },
         {ID_MACRO_FILE_CLOSE, ID_MACRO_FILE_SAVE, ID_MACRO_FILE_SAVE_AS, ID_MACRO_EDIT,
          ID_MACRO_BUTTON_FIRST, ID_MACRO_BUTTON_FIRST + 1, ID_SETTINGS_SAVE},
         {}},
        {"a project open",
         [this] {
             Write("p.ed1", "KAVENTRIX\nSTARTOVER\n");
             Write("p.ed2", "");
             const QByteArray image("\x10\0\0\0\x04\0\0\0\0\0\0\0\x08\0\0\0\0\0", 18);
             ASSERT_TRUE(projectDocument().OpenFile(Write("p.run", image)));
         },
         {ID_PROJECT_CLOSE, ID_PROJECT_SAVE_AS, ID_PROJECT_RELOAD, ID_PROJECT_UPDATE_DATA,
          ID_PROJECT_DOWNLOAD_TEXT, ID_PROJECT_DOWNLOAD_DATA, ID_PROJECT_EXPORT, ID_PROJECT_PLACES,
          ID_PROJECT_ROUTES, ID_EDIT_VALIDATE, ID_FILE_OPEN_ED2},
         {}},
        {"the project changed", [] { projectDocument().SetModifiedFlag(); }, {ID_PROJECT_SAVE}, {}},
        {"the controller busy",
         [] { protocol().ReplyState = reply::kCollecting; },
         {},
         {ID_PROJECT_OPEN, ID_PROJECT_RELOAD, ID_PROJECT_UPDATE_DATA, ID_PROJECT_DOWNLOAD_TEXT,
          ID_PROJECT_DOWNLOAD_DATA, ID_EDIT_VALIDATE, ID_FILE_DOWNLOAD_FILE, ID_FILE_LOAD_BINARY,
          ID_FILE_SAVE_BINARY, ID_SETTINGS_OPEN, ID_MACRO_BUTTON_FIRST, ID_MACRO_BUTTON_FIRST + 1}},
        {"the console gone", [] { commLink().DropDocument(); }, {}, {ID_COMM_SAVE}},
    };
    CommandRegistry registry;
    Ids all;
    for (const auto& step : steps)
        for (const Ids& ids : {step.on, step.off})
            all.insert(ids.begin(), ids.end());
    for (int id : all)
        registry.Bind(id, [] {});
    UseCommandRules(registry);
    Ids expected;
    for (const auto& step : steps) {
        step.enter();
        expected.insert(step.on.begin(), step.on.end());
        for (int id : step.off)
            expected.erase(id);
        Ids enabled;
        for (int id : all)
            if (registry.IsEnabled(id))
                enabled.insert(id);
        EXPECT_EQ(enabled, expected) << step.state;
    }
}

} // namespace
