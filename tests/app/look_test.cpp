// The look helpers on real controls: each sets exactly what its row names.
#include "app/gtk_keys.h"
#include "ui/look.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

struct Font {
    int points;
    bool bold;
};

void ExpectFont(wxWindow* w, Font f) {
    wxFont font = w->GetFont();
    EXPECT_EQ(font.GetPointSize(), f.points);
    EXPECT_EQ(font.GetNumericWeight(), f.bold ? 700 : 400);
    // Only the size and weight change; the face stays the platform's.
    EXPECT_EQ(font.GetFaceName(), wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).GetFaceName());
}

class LookTest : public ::testing::Test {
protected:
    void SetUp() override { frame = new wxFrame(nullptr, wxID_ANY, wxS("look")); }
    void TearDown() override {
        frame->Destroy();
        qtest::Settle();
    }
    wxFrame* frame;
};

TEST_F(LookTest, WindowsAndPanels) {
    StyleFrame(frame);
    EXPECT_EQ(frame->GetBackgroundColour(), wxColour(246, 242, 234));
    EXPECT_EQ(frame->GetForegroundColour(), wxColour(36, 39, 44));

    auto* dialog = new wxDialog(frame, wxID_ANY, wxS("d"));
    StyleDialog(dialog);
    EXPECT_EQ(dialog->GetBackgroundColour(), wxColour(252, 249, 244));
    EXPECT_EQ(dialog->GetForegroundColour(), wxColour(36, 39, 44));

    auto* white = new wxPanel(dialog);
    auto* plain = new wxPanel(dialog);
    wxFont before = plain->GetFont();
    StylePanel(white, true);
    StylePanel(plain, false);
    EXPECT_EQ(white->GetBackgroundColour(), wxColour(255, 255, 255));
    // A plain panel blends into its dialog.
    EXPECT_EQ(plain->GetBackgroundColour(), dialog->GetBackgroundColour());
    EXPECT_EQ(plain->GetForegroundColour(), wxColour(36, 39, 44));
    EXPECT_EQ(plain->GetFont(), before);

    auto* check = new wxCheckBox(plain, wxID_ANY, wxS("c"));
    StylePage(check);
    EXPECT_EQ(check->GetBackgroundColour(), wxColour(252, 249, 244));
    ExpectFont(check, {10, false});
}

TEST_F(LookTest, TextsKeepTheirBackground) {
    auto* panel = new wxPanel(frame);
    StylePanel(panel, true);
    auto* heading = new wxStaticText(panel, wxID_ANY, wxS("h"));
    auto* label = new wxStaticText(panel, wxID_ANY, wxS("l"));
    auto* hint = new wxStaticText(panel, wxID_ANY, wxS("i"));
    wxColour inherited = heading->GetBackgroundColour();
    StyleHeading(heading);
    StyleFieldLabel(label);
    StyleHint(hint);
    EXPECT_EQ(heading->GetForegroundColour(), wxColour(32, 92, 84));
    ExpectFont(heading, {14, true});
    EXPECT_EQ(heading->GetBackgroundColour(), inherited);
    EXPECT_EQ(label->GetForegroundColour(), wxColour(36, 39, 44));
    ExpectFont(label, {10, true});
    EXPECT_EQ(hint->GetForegroundColour(), wxColour(105, 111, 118));
    ExpectFont(hint, {9, false});
    EXPECT_EQ(hint->GetMinSize(), wxDefaultSize);
}

TEST_F(LookTest, ListsAndTextBoxes) {
    auto* list = new wxListBox(frame, wxID_ANY);
    StyleList(list);
    EXPECT_EQ(list->GetBackgroundColour(), wxColour(255, 255, 255));
    EXPECT_EQ(list->GetForegroundColour(), wxColour(36, 39, 44));
    ExpectFont(list, {10, false});

    auto* content = new wxTextCtrl(frame, wxID_ANY, wxS(""), wxDefaultPosition, wxDefaultSize,
                                   wxTE_MULTILINE | wxTE_READONLY);
    auto* reply = new wxTextCtrl(frame, wxID_ANY);
    StyleTextBox(content, true);
    StyleTextBox(reply, false);
    EXPECT_EQ(content->GetBackgroundColour(), wxColour(248, 250, 249));
    EXPECT_EQ(reply->GetBackgroundColour(), wxColour(255, 255, 255));
    EXPECT_EQ(reply->GetForegroundColour(), wxColour(36, 39, 44));
    ExpectFont(reply, {10, false});
}

TEST_F(LookTest, Buttons) {
    auto* primary = new wxButton(frame, wxID_OK, wxS("登录"));
    auto* secondary = new wxButton(frame, wxID_CANCEL, wxS("取消"));
    StylePrimaryButton(primary);
    StyleSecondaryButton(secondary);
    EXPECT_EQ(primary->GetBackgroundColour(), wxColour(32, 92, 84));
    EXPECT_EQ(primary->GetForegroundColour(), wxColour(255, 255, 255));
    EXPECT_EQ(secondary->GetBackgroundColour(), wxColour(225, 236, 232));
    EXPECT_EQ(secondary->GetForegroundColour(), wxColour(32, 92, 84));
    for (wxButton* b : {primary, secondary}) {
        ExpectFont(b, {10, true});
        EXPECT_EQ(b->GetMinSize(), wxSize(88, 34));
    }
}

}  // namespace
