// The custom validation function, the regular-expression chooser and the
// "Errors!" window.
#include "FormwardenDialogs.h"

namespace formwarden {

bool EditCustomValidation(QWidget* /*parent*/, CHtmlForm& /*form*/) {
    return false;
}

bool ChooseRegExp(QWidget* /*parent*/, const std::string& /*current*/, std::string& /*result*/) {
    return false;
}

void ShowErrorsWindow(QWidget* /*parent*/, const std::string& /*text*/) {}

void InstallErrorsWindow() {}

}  // namespace formwarden
