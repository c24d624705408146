// A second yardstick for the start-up benchmark: the main window's own
// controls, texts and look (the same list rows and status text, given on
// the command line) in a plain toolkit frame, with nothing behind them: no
// server, no settings, no sound, no accessibility layer. The gap between
// it and the bare frame is what the window's content costs the toolkit;
// the gap between it and the program is the program's own start-up.
//
//   startup_same_window [--stay] LABEL STATUS ROW...
#include "ui/look.h"

#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/cshelp.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

class SameWindowApp : public wxApp {
public:
    bool OnInit() override {
        int first = 1;
        const bool stay = argc > 1 && wxString(argv[1]) == "--stay";
        if (stay) ++first;
        if (argc < first + 2) return false;
        const wxString label = argv[first];
        const wxString status = argv[first + 1];
        wxArrayString rows;
        for (int i = first + 2; i < argc; ++i) rows.Add(argv[i]);

        if (!wxHelpProvider::Get()) wxHelpProvider::Set(new wxSimpleHelpProvider);
        auto* frame = new wxFrame(nullptr, wxID_ANY, wxString::FromUTF8("澄川论坛"), wxDefaultPosition,
                                  wxSize(760, 620));
        StyleFrame(frame);
        auto* frameSizer = new wxBoxSizer(wxVERTICAL);
        auto* panel = new wxPanel(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL);
        StylePanel(panel, false);
        frameSizer->Add(panel, 1, wxEXPAND, 0);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        auto* title = new wxStaticText(panel, wxID_ANY, wxString::FromUTF8("澄川论坛电脑版"));
        StyleHeading(title);
        sizer->Add(title, 0, wxLEFT | wxRIGHT | wxTOP, 16);
        sizer->AddSpacer(12);
        auto* categoryLabel = new wxStaticText(panel, wxID_ANY, wxString::FromUTF8("功能分类"));
        StyleFieldLabel(categoryLabel);
        sizer->Add(categoryLabel, 0, wxLEFT | wxRIGHT | wxTOP, 12);
        wxArrayString categories;
        categories.Add(wxString::FromUTF8("澄川论坛"));
        categories.Add(wxString::FromUTF8("本地音乐"));
        auto* choice = new wxComboBox(panel, wxID_ANY, categories[0], wxDefaultPosition, wxDefaultSize,
                                      categories, wxCB_READONLY);
        choice->SetSelection(0);
        choice->SetHelpText(wxString::FromUTF8("按上下方向键切换功能分类，回车进入下方功能列表。"));
        StyleList(choice);
        sizer->Add(choice, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);
        auto* listLabel = new wxStaticText(panel, wxID_ANY, label);
        StyleFieldLabel(listLabel);
        sizer->Add(listLabel, 0, wxLEFT | wxRIGHT, 12);
        auto* list = new wxListBox(panel, wxID_ANY);
        list->SetHelpText(wxString::FromUTF8("按上下方向键浏览项目，回车进入下一层，退格返回上一层。"));
        list->SetMinSize(wxSize(-1, 420));
        StyleList(list);
        sizer->Add(list, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);
        panel->SetSizer(sizer);
        frame->SetSizer(frameSizer);
        frame->CreateStatusBar(1);
        frame->SetStatusText(status, 0);
        list->SetFocus();
        list->Set(rows);
        if (!rows.empty()) list->SetSelection(0);
        frame->Centre(wxBOTH);
        frame->Show();
        if (!stay) CallAfter([frame] { frame->Destroy(); });
        return true;
    }
};

wxIMPLEMENT_APP(SameWindowApp);
