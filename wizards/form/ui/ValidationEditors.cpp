// The validation editors of the Validations page, one per element type.
#include "FormwardenDialogs.h"

namespace formwarden {

struct CValidationEditorArea::SImpl {
    CHtmlForm* form = nullptr;
    int index = -1;
};

CValidationEditorArea::CValidationEditorArea(QWidget* parent)
    : QWidget(parent), m(std::make_unique<SImpl>()) {}

CValidationEditorArea::~CValidationEditorArea() = default;

void CValidationEditorArea::ShowElement(CHtmlForm* form, int index) {
    m->form = form;
    m->index = form ? index : -1;
}

void CValidationEditorArea::StoreShown() {}

int CValidationEditorArea::ShownElement() const {
    return m->index;
}

}  // namespace formwarden
