#include "FormwardenPages.h"

namespace formwarden {

CFormwardenSheet::CFormwardenSheet() = default;
CFormwardenSheet::~CFormwardenSheet() = default;

}  // namespace formwarden
