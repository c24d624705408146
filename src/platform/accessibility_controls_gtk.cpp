// What the screen reader hears of lists that are refilled, read-only
// choices and read-only text boxes.
#include "platform/accessibility.h"
#include "platform/accessibility_rules.h"

#include <atk/atk.h>
#include <gtk/gtk.h>
#include <wx/combobox.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>

namespace a11y {
namespace {

bool IsFocusInItsWindow(GtkWidget* widget) { return widget && gtk_widget_is_focus(widget); }

gboolean LabelComboInsteadOfEntry(GtkWidget* entry, GdkEvent*, gpointer combo) {
    GList* labels = gtk_widget_list_mnemonic_labels(entry);
    for (GList* label = labels; label; label = label->next) {
        if (GTK_IS_LABEL(label->data)) {
            gtk_label_set_mnemonic_widget(GTK_LABEL(label->data), GTK_WIDGET(combo));
        }
    }
    g_list_free(labels);
    AtkRelationSet* relations = atk_object_ref_relation_set(gtk_widget_get_accessible(entry));
    while (AtkRelation* labelledBy =
               atk_relation_set_get_relation_by_type(relations, ATK_RELATION_LABELLED_BY)) {
        atk_relation_set_remove(relations, labelledBy);
    }
    g_object_unref(relations);
    return FALSE;  // the entry still takes the focus as usual
}

}  // namespace

void ListRefilled(wxListBox* list) {
    if (!list) return;
    GtkWidget* widget = list->GetConnectWidget();
    if (!GTK_IS_TREE_VIEW(widget)) return;
    const int row = list->GetSelection();
    if (row == wxNOT_FOUND) return;
    // Refilling dropped the tree view's cursor with the old rows; the
    // selection alone reaches the screen reader from cells that are gone.
    // Putting the cursor on the selected row makes the tree view announce a
    // fresh cell as its active descendant, focused while the list is.
    GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
    gtk_tree_view_set_cursor(GTK_TREE_VIEW(widget), path, nullptr, FALSE);
    gtk_tree_path_free(path);
}

void ExposeReadOnlyChoice(wxComboBox* choice) {
    if (!choice) return;
    InstallWindowRules();
    ExposeNameAndHelp(choice);
    RemoveSilentTabStops(choice);
    // The combo box carries the name; its text field is only the value.
    // Named too (by us, or through the label wx ties to it), the field
    // makes the screen reader say the name twice on arrival.
    GtkWidget* outer = choice->GetHandle();
    GtkWidget* entry = choice->GetConnectWidget();
    if (!entry || entry == outer) return;
    atk_object_set_name(gtk_widget_get_accessible(entry), "");
    // wx ties the label before the control to the text field only when the
    // window is shown; it is moved to the combo box on its way to the focus.
    g_signal_connect(entry, "focus-in-event", G_CALLBACK(LabelComboInsteadOfEntry), outer);
    LabelComboInsteadOfEntry(entry, nullptr, outer);
}

void ChoiceChanged(wxComboBox* choice) {
    if (!choice || !IsFocusInItsWindow(choice->GetConnectWidget())) return;
    Announce(choice, choice->GetValue());
}

void OpenAtStart(wxTextCtrl* box) {
    if (!box) return;
    box->SetInsertionPoint(0);
    box->ShowPosition(0);
}

}  // namespace a11y
