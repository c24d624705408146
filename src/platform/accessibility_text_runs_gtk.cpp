// GTK 3.24 reports the attribute runs of a text field with a wrong end:
// for the run that reaches the end of the text it takes the length in
// characters as a byte index. With Chinese text (three bytes a character)
// "澄川论坛" then reports one run over "澄川" only, and Orca, which speaks a
// text field run by run, says "澄川". The runs are computed again here, in
// characters throughout; the attributes themselves are GTK's.
#include "platform/accessibility_rules.h"

#include <atk/atk.h>
#include <gtk/gtk-a11y.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstring>

namespace a11y {
namespace {

using RunAttributes = AtkAttributeSet* (*)(AtkText*, gint, gint*, gint*);
RunAttributes gtkRunAttributes = nullptr;

// The run of the layout's attributes around `offset`, in characters.
void FindRun(PangoLayout* layout, gint offset, gint* start, gint* end) {
    const char* text = pango_layout_get_text(layout);
    const int bytes = static_cast<int>(std::strlen(text));
    const gint count = static_cast<gint>(g_utf8_strlen(text, -1));
    offset = std::clamp(offset, 0, count);
    const int index = static_cast<int>(g_utf8_offset_to_pointer(text, offset) - text);
    *start = 0;
    *end = count;
    PangoAttrList* attributes = pango_layout_get_attributes(layout);
    if (!attributes) return;
    PangoAttrIterator* it = pango_attr_list_get_iterator(attributes);
    do {
        int from = 0;
        int to = 0;
        pango_attr_iterator_range(it, &from, &to);
        from = std::clamp(from, 0, bytes);
        to = std::clamp(to, 0, bytes);
        if (index >= from && (index < to || to == bytes)) {
            *start = static_cast<gint>(g_utf8_pointer_to_offset(text, text + from));
            *end = static_cast<gint>(g_utf8_pointer_to_offset(text, text + to));
            break;
        }
    } while (pango_attr_iterator_next(it));
    pango_attr_iterator_destroy(it);
}

AtkAttributeSet* EntryRunAttributes(AtkText* text, gint offset, gint* start, gint* end) {
    AtkAttributeSet* set = gtkRunAttributes(text, offset, start, end);
    GtkWidget* widget = gtk_accessible_get_widget(GTK_ACCESSIBLE(text));
    if (GTK_IS_ENTRY(widget)) FindRun(gtk_entry_get_layout(GTK_ENTRY(widget)), offset, start, end);
    return set;
}

}  // namespace

void RepairEntryRuns() {
    static const bool repaired = [] {
        auto* type = static_cast<GTypeClass*>(g_type_class_ref(GTK_TYPE_ENTRY_ACCESSIBLE));
        auto* text = static_cast<AtkTextIface*>(g_type_interface_peek(type, ATK_TYPE_TEXT));
        if (!text || !text->get_run_attributes) return false;
        gtkRunAttributes = text->get_run_attributes;
        text->get_run_attributes = EntryRunAttributes;
        return true;  // the class stays referenced: the table is in use for good
    }();
    (void)repaired;
}

}  // namespace a11y
