#include "posts/post_composer_dialog.h"

#include "api/api_client.h"
#include "ui/request_forms.h"
#include "platform/accessibility.h"
#include "posts/composer_inserts.h"
#include "posts/draft_keeper.h"
#include "ui/call_guard.h"
#include "ui/look.h"
#include "ui/message_box.h"

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

wxString U8(const char* text) { return wxString::FromUTF8(text); }

void Name(wxWindow* control, const char* name, const char* help) {
    control->SetName(U8(name));
    control->SetHelpText(U8(help));
    a11y::ExposeNameAndHelp(control);
}

wxStaticText* Label(wxWindow* parent, const char* text) {
    auto* label = new wxStaticText(parent, wxID_ANY, U8(text));
    StyleFieldLabel(label);
    return label;
}

}  // namespace

PostComposerDialog::PostComposerDialog(wxWindow* parent, ApiClient& client, const wxString& token,
                                       const wxString& cookies, const std::vector<SectionInfo>& sections,
                                       LoginCallback loginCallback, const std::optional<PostDetail>& post,
                                       bool managerFlag)
    : wxDialog(parent, wxID_ANY, post ? U8("编辑帖子") : U8("发新帖"), wxDefaultPosition, wxSize(760, 560),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      client_(&client),
      token_(token),
      cookies_(cookies),
      loginCallback_(std::move(loginCallback)),
      model_(sections, post, managerFlag) {
    StyleDialog(this);
    BuildControls();
    BuildMenus();
    BindEvents();
    FillSections();
    titleBox_->ChangeValue(model_.InitialTitle());
    contentBox_->ChangeValue(model_.InitialBody());
    Refresh();
    // What is typed is kept as a draft, per new post or per edited post.
    draft_ = std::make_unique<DraftKeeper>(
        model_.IsEdit() ? PostDrafts::EditPostName(model_.Values().id) : PostDrafts::NewPostName(),
        [this](const PostDrafts& drafts, const wxString& name) { return drafts.Save(name, CurrentDraft()); },
        [this] { return !model_.HasUnsavedContent(titleBox_->GetValue(), contentBox_->GetValue()); });
    SetEscapeId(wxID_CANCEL);
    sectionBox_->SetFocus();
    CentreOnParent(wxBOTH);
}

// Saves a change not yet saved before the boxes go.
PostComposerDialog::~PostComposerDialog() { draft_.reset(); }

ComposerDraft PostComposerDialog::CurrentDraft() const {
    ComposerDraft draft;
    const int selection = model_.Selection();
    if (selection >= 0) draft.sectionId = model_.Sections()[selection].id;
    draft.values = model_.Values();
    draft.values.title = titleBox_->GetValue();
    draft.values.body = contentBox_->GetValue();
    return draft;
}

void PostComposerDialog::OfferDraft() {
    ComposerDraft found;
    auto load = [&found](const PostDrafts& drafts, const wxString& name) { return drafts.Load(name, found); };
    if (!draft_->Offer(this, load)) return;
    const std::vector<SectionInfo>& sections = model_.Sections();
    for (size_t i = 0; i < sections.size(); ++i) {
        if (sections[i].id != found.sectionId) continue;
        sectionBox_->SetSelection(static_cast<int>(i));
        model_.SelectSection(static_cast<int>(i));
    }
    titleBox_->ChangeValue(found.values.title);
    contentBox_->ChangeValue(found.values.body);
    found.values.title = model_.Values().title;
    found.values.body = model_.Values().body;
    model_.Values() = found.values;
    Refresh();
}

void PostComposerDialog::BuildControls() {
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* heading = new wxStaticText(this, wxID_ANY, model_.Heading());
    StyleHeading(heading);
    column->Add(heading, 0, wxLEFT | wxRIGHT | wxTOP, 14);
    auto* hint = new wxStaticText(this, wxID_ANY, U8("支持键盘操作：Tab 切换控件，菜单按钮回车展开。"));
    StyleHint(hint);
    column->Add(hint, 0, wxALL, 14);

    auto* grid = new wxFlexGridSizer(2, 12, 12);
    grid->AddGrowableCol(1);
    grid->AddGrowableRow(2);
    grid->Add(Label(this, "板块"), 0, wxALIGN_CENTER_VERTICAL);
    sectionBox_ = new wxComboBox(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, 0, nullptr,
                                 wxCB_READONLY);
    StyleList(sectionBox_);
    Name(sectionBox_, "板块选择框", "选择帖子发到哪个板块，上下方向键切换。");
    a11y::RemoveSilentTabStops(sectionBox_);
    grid->Add(sectionBox_, 1, wxEXPAND);
    grid->Add(Label(this, "标题"), 0, wxALIGN_CENTER_VERTICAL);
    titleBox_ = new wxTextCtrl(this, wxID_ANY);
    StyleTextBox(titleBox_, false);
    Name(titleBox_, "标题输入框", "输入帖子标题。");
    grid->Add(titleBox_, 1, wxEXPAND);
    grid->Add(Label(this, "帖子内容"), 0, wxALIGN_TOP);
    contentBox_ = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(-1, 300),
                                 wxTE_MULTILINE | wxTE_RICH2);
    StyleTextBox(contentBox_, false);
    Name(contentBox_, "帖子内容输入框", "输入帖子正文，回车换行，Tab 离开。");
    grid->Add(contentBox_, 1, wxEXPAND);
    column->Add(grid, 1, wxALL | wxEXPAND, 12);

    sectionHint_ = new wxStaticText(this, wxID_ANY, wxString());
    StyleHint(sectionHint_);
    // Its text is what a screen reader should read, so only the window
    // name and the description are set, not the accessible name.
    sectionHint_->SetName(U8("板块提示"));
    a11y::SetAccessibleDescription(sectionHint_, U8("板块提示：所选板块的类别。"));
    column->Add(sectionHint_, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 12);

    auto* menuRow = new wxBoxSizer(wxHORIZONTAL);
    for (const ComposerMenu& menu : ComposerMenus()) {
        auto* button = new wxButton(this, wxID_ANY, menu.button);
        StyleSecondaryButton(button);
        button->SetName(menu.button);
        button->SetHelpText(menu.help);
        a11y::ExposeNameAndHelp(button);
        menuRow->Add(button, 0, menuButtons_.size() < 2 ? wxRIGHT : 0, 8);
        menuButtons_.push_back(button);
    }
    column->Add(menuRow, 0, wxLEFT | wxRIGHT | wxBOTTOM, 12);

    column->Add(Label(this, "资源与售价摘要"), 0, wxLEFT | wxRIGHT, 12);
    summaryBox_ = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(-1, 140),
                                 wxTE_MULTILINE | wxTE_READONLY | wxTE_RICH2);
    StyleTextBox(summaryBox_, true);
    Name(summaryBox_, "资源与售价摘要", "帖子的附件、售价与资源设置，只读。");
    column->Add(summaryBox_, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 12);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    submitButton_ = new wxButton(this, wxID_OK, model_.SubmitLabel());
    StylePrimaryButton(submitButton_);
    Name(submitButton_, model_.IsEdit() ? "保存" : "发布",
         model_.IsEdit() ? "保存对帖子的修改。" : "把帖子发布到所选板块。");
    auto* cancel = new wxButton(this, wxID_CANCEL, U8("取消"));
    StyleSecondaryButton(cancel);
    Name(cancel, "取消", "不保存，关闭窗口。");
    buttons->Add(submitButton_, 0, wxRIGHT, 8);
    buttons->Add(cancel, 0);
    column->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);

    SetSizer(column);
    column->Fit(this);
    SetMinSize(wxSize(700, 520));
    wxSize size = GetSize();
    size.IncTo(wxSize(760, 560));
    SetSize(size);
}

void PostComposerDialog::BuildMenus() {
    for (const ComposerMenu& layout : ComposerMenus()) {
        auto menu = std::make_unique<wxMenu>();
        for (const ComposerMenuItem& item : layout.items) {
            if (item.check)
                menu->AppendCheckItem(item.id, item.label);
            else
                menu->Append(item.id, item.label);
        }
        menus_.push_back(std::move(menu));
    }
}

void PostComposerDialog::BindEvents() {
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Publish(); }, wxID_OK);
    // "取消" asks like every other way out instead of dropping the post.
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { CloseWithCue(); }, wxID_CANCEL);
    sectionBox_->Bind(wxEVT_COMBOBOX, &PostComposerDialog::OnSectionChanged, this);
    // A button opens its menu on Enter and Space (and a click) alike.
    for (size_t i = 0; i < menuButtons_.size(); ++i)
        menuButtons_[i]->Bind(wxEVT_BUTTON, [this, i](wxCommandEvent&) { OpenMenu(i); });
    Bind(wxEVT_MENU, &PostComposerDialog::OnMenuCommand, this, composer_menu::kFirst, composer_menu::kLast);
    Bind(wxEVT_CHAR_HOOK, &PostComposerDialog::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, &PostComposerDialog::OnClose, this);
    // Every change is saved to the draft a moment later; the menus' own
    // handlers run as well (Skip).
    auto changed = [this](wxEvent& event) {
        if (draft_) draft_->Changed();
        event.Skip();
    };
    titleBox_->Bind(wxEVT_TEXT, changed);
    contentBox_->Bind(wxEVT_TEXT, changed);
    sectionBox_->Bind(wxEVT_COMBOBOX, changed);
    Bind(wxEVT_MENU, changed, composer_menu::kFirst, composer_menu::kLast);
    // Offered while the window opens, before the user starts typing.
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
        OfferDraft();
        event.Skip();
    });
}

void PostComposerDialog::FillSections() {
    for (const SectionInfo& section : model_.Sections()) sectionBox_->Append(section.name);
    sectionBox_->SetSelection(model_.Selection());
}

void PostComposerDialog::Refresh() {
    const wxString hint = model_.SectionHint();
    if (hint != sectionHint_->GetLabel()) {
        const bool first = sectionHint_->GetLabel().empty();
        sectionHint_->SetLabel(hint);
        // Spoken when it changes, since the focus stays on the section box.
        if (!first) a11y::Announce(sectionBox_, hint);
    }
    const wxString summary = ComposerSummary(model_.Values());
    if (summary != summaryBox_->GetValue()) {
        summaryBox_->ChangeValue(summary);
        a11y::OpenAtStart(summaryBox_);
    }
    RefreshMenus();
}

void PostComposerDialog::RefreshMenus() {
    const bool member = model_.MemberSection();
    for (size_t m = 0; m < menus_.size(); ++m) {
        for (const ComposerMenuItem& item : ComposerMenus()[m].items) {
            const ComposerItemState state = ComposerMenuItemState(item.id, model_.Values(), member);
            menus_[m]->Enable(item.id, state.enabled);
            if (item.check) menus_[m]->Check(item.id, state.checked);
        }
    }
}

wxPoint PostComposerDialog::MenuPosition(size_t index) const {
    const wxButton* button = menuButtons_.at(index);
    return wxPoint(button->GetPosition().x, button->GetPosition().y + button->GetSize().y);
}

void PostComposerDialog::OnSectionChanged(wxCommandEvent&) {
    model_.SelectSection(sectionBox_->GetSelection());
    Refresh();
}

void PostComposerDialog::Publish() {
    if (busy_) return;
    if (const std::optional<ComposerProblem> problem = model_.Validate(titleBox_->GetValue(), contentBox_->GetValue())) {
        ShowNoticeBox(this, problem->message);
        switch (problem->field) {
            case ComposerField::Section: sectionBox_->SetFocus(); break;
            case ComposerField::Title: titleBox_->SetFocus(); break;
            case ComposerField::Body: contentBox_->SetFocus(); break;
        }
        return;
    }
    if (token_.empty() && cookies_.empty()) {
        if (!loginCallback_ || !loginCallback_(token_, cookies_)) return;
    }
    const PostInput input = model_.ToSend(titleBox_->GetValue(), contentBox_->GetValue());
    ApiResult result;
    {
        CallGuard guard(busy_, {submitButton_});
        result = RunBusy([&] {
            return model_.IsEdit() ? client_->EditPost(token_, cookies_, input, model_.ManagerFlag())
                                   : client_->CreatePost(token_, cookies_, input);
        });
    }
    if (!result.success) {
        ShowErrorBox(this, model_.FailureCaption(), PostComposerModel::FailureMessage(result));
        return;
    }
    draft_->Discard();
    ShowNoticeBox(this, model_.SuccessText());
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

int RunNewPostComposer(wxWindow* parent, ApiClient& client, const wxString& token, const wxString& cookies,
                       const std::vector<SectionInfo>& sections, LoginCallback loginCallback) {
    PostComposerDialog dialog(parent, client, token, cookies, sections, std::move(loginCallback));
    return dialog.ShowModal();
}

int RunEditPostComposer(wxWindow* parent, ApiClient& client, const wxString& token, const wxString& cookies,
                        const std::vector<SectionInfo>& sections, LoginCallback loginCallback,
                        const PostDetail& post, bool managerFlag) {
    PostComposerDialog dialog(parent, client, token, cookies, sections, std::move(loginCallback), post,
                              managerFlag);
    return dialog.ShowModal();
}
