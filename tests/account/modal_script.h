// Driving a modal dialog from a test: a step that runs inside its modal
// loop, the way a user's keys arrive while it waits.
#pragma once

#include <functional>

#include <gtk/gtk.h>
#include <wx/toplevel.h>

#include "app/gtk_keys.h"

namespace guitest {

// Runs `step` once inside the modal loop of the first shown dialog of type
// D (with the dialog), from a GLib timer as a user's keys would arrive.
template <class D>
class WhenModal {
public:
    explicit WhenModal(std::function<void(D*)> step) : step_(std::move(step)) {
        source_ = g_timeout_add(20, &WhenModal::Poll, this);
    }
    ~WhenModal() {
        if (source_) g_source_remove(source_);
    }
    bool Ran() const { return ran_; }

private:
    static gboolean Poll(gpointer data) {
        auto* self = static_cast<WhenModal*>(data);
        for (wxWindow* window : wxTopLevelWindows) {
            auto* dialog = dynamic_cast<D*>(window);
            if (dialog && dialog->IsModal()) {
                self->source_ = 0;
                self->ran_ = true;
                qtest::Settle();
                self->step_(dialog);
                return G_SOURCE_REMOVE;
            }
        }
        return G_SOURCE_CONTINUE;
    }
    std::function<void(D*)> step_;
    guint source_ = 0;
    bool ran_ = false;
};

}  // namespace guitest
