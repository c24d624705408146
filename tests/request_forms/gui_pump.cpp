#include "gui_pump.h"

#include <wx/utils.h>

namespace guitest {

namespace {

GtkMessageDialog* FindShownMessageDialog()
{
    GtkMessageDialog* found = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* it = windows; it != nullptr; it = it->next) {
        GtkWidget* widget = GTK_WIDGET(it->data);
        if (GTK_IS_MESSAGE_DIALOG(widget) && gtk_widget_get_visible(widget) &&
            g_object_get_data(G_OBJECT(widget), "answered") == nullptr)
            found = GTK_MESSAGE_DIALOG(widget);
    }
    g_list_free(windows);
    return found;
}

void CollectButtons(GtkDialog* dialog, SeenDialog& seen)
{
    const int responses[] = {GTK_RESPONSE_OK, GTK_RESPONSE_CANCEL, GTK_RESPONSE_YES,
                             GTK_RESPONSE_NO, GTK_RESPONSE_CLOSE};
    for (int response : responses) {
        GtkWidget* button = gtk_dialog_get_widget_for_response(dialog, response);
        if (button == nullptr || !GTK_IS_BUTTON(button))
            continue;
        const char* label = gtk_button_get_label(GTK_BUTTON(button));
        seen.buttons.emplace_back(response, label != nullptr ? label : "");
        if (gtk_widget_has_default(button) || gtk_widget_is_focus(button))
            seen.defaultResponse = response;
    }
}

} // namespace

DialogAnswerer::DialogAnswerer(int response) : response_(response)
{
    source_ = g_timeout_add(20, &DialogAnswerer::Poll, this);
}

DialogAnswerer::~DialogAnswerer()
{
    if (source_ != 0)
        g_source_remove(source_);
}

gboolean DialogAnswerer::Poll(gpointer data)
{
    auto* self = static_cast<DialogAnswerer*>(data);
    GtkMessageDialog* dialog = FindShownMessageDialog();
    if (dialog == nullptr)
        return G_SOURCE_CONTINUE;
    SeenDialog seen;
    const char* title = gtk_window_get_title(GTK_WINDOW(dialog));
    seen.title = title != nullptr ? title : "";
    gchar* text = nullptr;
    g_object_get(dialog, "text", &text, nullptr);
    seen.text = text != nullptr ? text : "";
    g_free(text);
    CollectButtons(GTK_DIALOG(dialog), seen);
    seen.busyWhileShown = wxIsBusy();
    AtkObject* accessible = gtk_widget_get_accessible(GTK_WIDGET(dialog));
    const char* name = accessible != nullptr ? atk_object_get_name(accessible) : nullptr;
    seen.accessibleName = name != nullptr ? name : "";
    self->seen_.push_back(seen);
    g_object_set_data(G_OBJECT(dialog), "answered", self);
    gtk_dialog_response(GTK_DIALOG(dialog), self->response_);
    return G_SOURCE_CONTINUE;  // keep answering: a test may show several
}

} // namespace guitest

#include <wx/textdlg.h>

namespace guitest {

TextDialogAnswerer::TextDialogAnswerer(const wxString& value, int id) : value_(value), id_(id)
{
    source_ = g_timeout_add(20, &TextDialogAnswerer::Poll, this);
}

TextDialogAnswerer::~TextDialogAnswerer()
{
    if (source_ != 0)
        g_source_remove(source_);
}

gboolean TextDialogAnswerer::Poll(gpointer data)
{
    auto* self = static_cast<TextDialogAnswerer*>(data);
    for (wxWindow* window : wxTopLevelWindows) {
        auto* dialog = dynamic_cast<wxTextEntryDialog*>(window);
        if (dialog != nullptr && dialog->IsModal()) {
            auto label = [dialog](int id) {
                wxWindow* button = dialog->FindWindow(id);
                return button != nullptr ? button->GetLabel() : wxString();
            };
            self->caption_ = dialog->GetTitle();
            self->okLabel_ = label(wxID_OK);
            self->cancelLabel_ = label(wxID_CANCEL);
            dialog->SetValue(self->value_);
            dialog->EndModal(self->id_);
            ++self->answered_;
            break;
        }
    }
    return G_SOURCE_CONTINUE;
}

} // namespace guitest
