// The form wizard's sheet and its five pages.
#pragma once

#include "FormwardenDialogs.h"
#include "ondrelo/OndWizSheet.h"
#include "ondrelo/Resources.h"

namespace formwarden {

inline constexpr const char* kFormwardenDisplayName = "HTML Form Wizard";

class CFormwardenSheet : public COndWizSheet {
public:
    CFormwardenSheet();
    ~CFormwardenSheet() override;
};

}  // namespace formwarden
