// The options dialog: its template, its handler, and the dialog paths of DoExport.

#include "exporter/OptionsDialog.h"
#include "exporter/ExportTexts.h"
#include "exporter/VNX30MaxExporter.h"

#include "memoryhost/MemoryHost.h"
#include "memoryhost/RecordingUiDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using vx::RecordingUiDriver;
using vx::UiEvent;

TEST(OptionsDialogTemplate, DescribesTheDialog)
{
    const vx::HostDialogTemplate dialog = vx::OptionsDialogTemplate();
    EXPECT_STREQ(dialog.caption, "Varnex Export Options");
    EXPECT_EQ(dialog.width, 187);
    EXPECT_EQ(dialog.height, 76);
    EXPECT_STREQ(dialog.fontName, "MS Sans Serif");
    EXPECT_EQ(dialog.fontSize, 8);
    EXPECT_TRUE(dialog.toolWindow);

    const struct {
        int id;
        vx::HostControlKind kind;
        const char* text;
        int x, y, width, height;
    } expected[] = {
        {1, vx::HostControlKind::PushButton, "OK", 59, 53, 58, 16},
        {1001, vx::HostControlKind::PushButton, "Cancel", 123, 52, 58, 16},
        {1015, vx::HostControlKind::CheckBox, "Export as single object", 41, 26, 87, 10},
    };
    ASSERT_EQ(dialog.controls.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const vx::HostDialogControl& control = dialog.controls[i];
        EXPECT_EQ(control.id, expected[i].id);
        EXPECT_EQ(control.kind, expected[i].kind);
        EXPECT_STREQ(control.text, expected[i].text);
        EXPECT_EQ(control.x, expected[i].x);
        EXPECT_EQ(control.y, expected[i].y);
        EXPECT_EQ(control.width, expected[i].width);
        EXPECT_EQ(control.height, expected[i].height);
    }
}

// A dialog as the handler sees it, recording what the handler does.
class FakeDialog final : public vx::HostDialog {
public:
    void CenterOverParent() override { centred = true; }
    void SetCheck(int id, bool checked) override { checks[id] = checked; }
    bool IsChecked(int id) const override
    {
        const auto found = checks.find(id);
        return found != checks.end() && found->second;
    }
    void End(int value) override { results.push_back(value); }

    bool centred = false;
    std::map<int, bool> checks;
    std::vector<int> results;
};

TEST(OptionsDialogProc, HandlesInitCommandsAndClose)
{
    vx::MemoryHost host;
    vx::VNX30MaxExporter exporter;
    exporter.rootNode = host.GetRootNode();
    vx::CurrentExporter() = nullptr;
    vx::OptionsDialogProc proc(exporter);
    FakeDialog dialog;

    EXPECT_TRUE(proc.OnInit(dialog));
    EXPECT_EQ(vx::CurrentExporter(), &exporter);
    EXPECT_TRUE(dialog.centred);
    EXPECT_TRUE(dialog.IsChecked(vx::kOptionsSingleObjectId));

    // The check box writes the option and the root node's key at once.
    dialog.checks[vx::kOptionsSingleObjectId] = false;
    EXPECT_TRUE(proc.OnCommand(dialog, vx::kOptionsSingleObjectId));
    EXPECT_FALSE(exporter.singleObject);
    bool singleGeometry = true;
    EXPECT_TRUE(host.GetRootNode()->GetUserPropBool("SingleGeometry", singleGeometry));
    EXPECT_FALSE(singleGeometry);

    EXPECT_FALSE(proc.OnCommand(dialog, 4711));
    EXPECT_TRUE(proc.OnCommand(dialog, vx::kOptionsOkId));
    EXPECT_TRUE(proc.OnCommand(dialog, vx::kOptionsCancelId));
    EXPECT_TRUE(proc.OnClose(dialog));
    EXPECT_EQ(dialog.results, (std::vector<int> {1, 1001, 0}));
}

class DialogRunTest : public ::testing::Test {
protected:
    void SetUp() override { host.SetUiDriver(&driver); }
    int Export(bool suppress = false) { return exporter.DoExport(target.c_str(), &host, suppress); }
    std::vector<const UiEvent*> Events(UiEvent::Kind kind) const
    {
        std::vector<const UiEvent*> found;
        for (const UiEvent& event : driver.GetEvents())
            if (event.kind == kind)
                found.push_back(&event);
        return found;
    }

    vxtest::TempDir dir;
    std::string target = dir.File("house.vx");
    RecordingUiDriver driver;
    vx::MemoryHost host;
    vx::VNX30MaxExporter exporter;
};

TEST_F(DialogRunTest, CancelledDialogWritesOnlyTheRootKeys)
{
    const struct {
        std::vector<int> actions;
        bool singleGeometry;
    } cases[] = {
        {{vx::kOptionsCancelId}, true},
        {{vx::kOptionsSingleObjectId, vx::kOptionsCancelId}, false},
        {{RecordingUiDriver::kCloseDialog}, true},
        {{vx::kOptionsSingleObjectId, RecordingUiDriver::kCloseDialog}, false},
    };
    for (const auto& c : cases) {
        driver.SetDialogActions(c.actions);
        EXPECT_EQ(Export(), vx::kExportResultCancelled);

        EXPECT_EQ(exporter.LastOutcome().status, vx::ExportStatus::Cancelled);
        int lodType = 0;
        bool singleGeometry = !c.singleGeometry;
        EXPECT_TRUE(host.GetRoot().GetUserPropInt("LodType", lodType));
        EXPECT_EQ(lodType, 2);
        EXPECT_TRUE(host.GetRoot().GetUserPropBool("SingleGeometry", singleGeometry));
        EXPECT_EQ(singleGeometry, c.singleGeometry);
        EXPECT_TRUE(std::filesystem::is_empty(dir.Path())) << "neither log nor database";
    }
    EXPECT_TRUE(Events(UiEvent::Kind::MessageBox).empty());
}

TEST_F(DialogRunTest, DialogAlwaysOpensTickedOverTheActiveWindow)
{
    driver.SetDialogActions({vx::kOptionsSingleObjectId, vx::kOptionsOkId});
    EXPECT_EQ(Export(), vx::kExportResultDone);
    EXPECT_FALSE(exporter.singleObjectActive);
    Export();

    const std::vector<const UiEvent*> dialogs = Events(UiEvent::Kind::Dialog);
    ASSERT_EQ(dialogs.size(), 2u);
    for (const UiEvent* dialog : dialogs) {
        EXPECT_EQ(dialog->caption, "Varnex Export Options");
        EXPECT_EQ(dialog->window, vx::MemoryHost::kActiveWindow);
        EXPECT_EQ(dialog->checks, (std::vector<std::pair<int, bool>> {{vx::kOptionsSingleObjectId, true}}));
        EXPECT_EQ(dialog->percent, vx::kOptionsOkId);
    }
    EXPECT_TRUE(exporter.singleObjectActive);
}

TEST_F(DialogRunTest, UntickedRunExportsPerObject)
{
    driver.SetDialogActions({vx::kOptionsSingleObjectId, vx::kOptionsOkId});
    Export();
    std::ifstream log(target + ".log", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Export as single object: no\r\n"), std::string::npos);
}

TEST_F(DialogRunTest, SuppressedPromptsShowNoDialogAndNoBox)
{
    EXPECT_EQ(Export(true), vx::kExportResultDone);
    EXPECT_TRUE(Events(UiEvent::Kind::Dialog).empty());
    EXPECT_TRUE(Events(UiEvent::Kind::MessageBox).empty());
    EXPECT_TRUE(exporter.singleObjectActive);
}

TEST_F(DialogRunTest, MessageBoxesBelongToTheMainWindow)
{
    Export();
    const std::vector<const UiEvent*> boxes = Events(UiEvent::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->window, vx::MemoryHost::kMainWindow);
    EXPECT_EQ(boxes[0]->caption, vx::kCaptionError);
}

} // namespace
