#include "vxexport/DialogPrompt.h"
#include "vxexport/DialogAnswer.h"

#include "exporter/OptionsDialog.h"
#include "memoryhost/DialogSession.h"
#include "memoryhost/UiDriver.h"

#include <gtest/gtest.h>

#include <deque>
#include <sstream>

namespace vx {
namespace {

// Behaves as the options dialog's handler does: OK and Cancel end the dialog with their id, the
// close box with 0; it starts with the check box ticked.
class OptionsLikeProc final : public HostDialogProc {
public:
    bool OnInit(HostDialog& dialog) override
    {
        dialog.SetCheck(kOptionsSingleObjectId, true);
        return true;
    }
    bool OnCommand(HostDialog& dialog, int id) override
    {
        if (id == kOptionsOkId || id == kOptionsCancelId)
            dialog.End(id);
        return true;
    }
    bool OnClose(HostDialog& dialog) override
    {
        dialog.End(0);
        return true;
    }
};

// Plays the dialog with a prompt fed from lines, or with AnswerDialog.
class PromptDriver final : public UiDriver {
public:
    explicit PromptDriver(std::deque<std::string> lines)
        : lines_(std::move(lines))
    {
    }
    void PlayDialog(DialogSession& dialog) override
    {
        if (answer) {
            AnswerDialog(dialog, *answer);
            return;
        }
        PromptDialog(
            dialog,
            [this]() -> std::optional<std::string> {
                if (lines_.empty())
                    return std::nullopt;
                std::string line = lines_.front();
                lines_.pop_front();
                return line;
            },
            out);
    }
    std::optional<std::optional<bool>> answer;
    std::ostringstream out;

private:
    std::deque<std::string> lines_;
};

struct Played {
    int result;
    bool checked;
    std::string shown;
};

Played Play(std::deque<std::string> lines, std::optional<std::optional<bool>> answer = std::nullopt)
{
    const HostDialogTemplate dialog = OptionsDialogTemplate();
    OptionsLikeProc proc;
    DialogSession session(HostWindow {2}, dialog, proc);
    PromptDriver driver(std::move(lines));
    driver.answer = answer;
    const int result = session.Run(driver);
    return {result, session.IsChecked(kOptionsSingleObjectId), driver.out.str()};
}

TEST(DialogPrompt, ShowsTheControlsAndEndsWithTheChosenButton)
{
    const Played ok = Play({""});
    EXPECT_EQ(ok.result, kOptionsOkId);
    EXPECT_TRUE(ok.checked);
    EXPECT_EQ(ok.shown,
        "Varnex Export Options\n"
        "  1  [x] Export as single object\n"
        "  2  OK\n"
        "  3  Cancel\n"
        "Choose 1-3 (Enter: OK): ");

    const Played toggled = Play({"1", " ok "});
    EXPECT_EQ(toggled.result, kOptionsOkId);
    EXPECT_FALSE(toggled.checked);
    EXPECT_NE(toggled.shown.find("  1  [ ] Export as single object\n"), std::string::npos);

    EXPECT_EQ(Play({"CANCEL"}).result, kOptionsCancelId);
    EXPECT_EQ(Play({"3"}).result, kOptionsCancelId);
}

TEST(DialogPrompt, AsksAgainOnNonsenseAndCancelsWhenInputEnds)
{
    const Played nonsense = Play({"7", "yes please", "99999999999999999999", "2"});
    EXPECT_EQ(nonsense.result, kOptionsOkId);
    EXPECT_NE(nonsense.shown.find("No such choice"), std::string::npos);

    // End of input, or Ctrl-C: the close box, which cancels the dialog.
    const Played ended = Play({"1"});
    EXPECT_EQ(ended.result, 0);
    EXPECT_FALSE(ended.checked);
}

TEST(DialogAnswer, SetsTheCheckBoxThenClicksOk)
{
    const Played perObject = Play({}, std::optional<bool>(false));
    EXPECT_EQ(perObject.result, kOptionsOkId);
    EXPECT_FALSE(perObject.checked);
    const Played single = Play({}, std::optional<bool>(true));
    EXPECT_EQ(single.result, kOptionsOkId);
    EXPECT_TRUE(single.checked);
    const Played defaults = Play({}, std::optional<bool>());
    EXPECT_EQ(defaults.result, kOptionsOkId);
    EXPECT_TRUE(defaults.checked);
    EXPECT_EQ(defaults.shown, "");
}

} // namespace
} // namespace vx
