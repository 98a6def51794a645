// The element editor of the Form Elements page.
#include "FormwardenDialogs.h"

namespace formwarden {

namespace {
bool g_detailsShown = true;
}  // namespace

bool ElementEditorDetailsShown() {
    return g_detailsShown;
}

void SetElementEditorDetailsShown(bool shown) {
    g_detailsShown = shown;
}

int EditFormElement(QWidget* /*parent*/, CHtmlForm& /*form*/, int /*edited*/, int /*presetType*/) {
    return -1;
}

}  // namespace formwarden
