#include "formwarden/FormResources.h"


namespace formwarden {

namespace {

const ondrelo::StringTable kStrings = {
    {IDS_INSERT_FAILED,
     "Failed inserting code in to the HTML file. Ensure that the HTML code is formatted "
     "correctly."},
    {IDS_OPEN_FILE_FAILED, "Failed Opening file:%s"},
    {IDS_SAVE_FILE_FAILED,
     "Failed Saving to the file:%s.\nMake sure that the file is not write protected"},
    // The insertion component's text for the same failure, so that a copy
    // made by the form's own insertion is reported in the same words.
    {IDS_COPY_FAILED,
     "Failed copying the JavaScript File to the destination: %s.Please make sure that you have "
     "write access in this folder"},
    {IDS_REPLACE_FAILED,
     "Failed replacing the tring with the code Please verify that you have inserted the string "
     "properly."},
    {IDS_NAME_ALNUM_ONLY, "The name can contain alpha-numeric characters only"},
    {IDS_NAME_EXISTS,
     "This name (%s) already exists in the list of elements.Please Select a diferent name"},
    {IDS_FORM_NAME_EMPTY, "Please enter the name of the Form"},
    {IDS_LIST_ITEM_NAME, "Please provide a name for the list item"},
    {IDS_TYPE_CHANGE,
     "You are about to change the type of the element \n(from %s to %s) If you proceed, it will "
     "replace the properties of the existing element. Do you want to proceed? "},
    {IDS_FORM_NAME_INVALID,
     "The form name can contain alpha numeric characters only.The name should start with an "
     "alphabetic character"},
    {IDS_NO_ELEMENTS,
     "No form elements created! Press the 'Add' button to create new form element"},
    {IDS_SCRIPT_INCLUSION, "<SCRIPT src=\"%s\"  language=\"JavaScript\"></SCRIPT>"},
    {IDS_COPY_FORM_CODE, "3. Copy && Paste code of the Form below to the HTML page."},
    {IDS_COPY_VALIDATIONS,
     "3. Copy and paste the validations for your form just below the </FORM> tag."},
    {IDS_REMOVE_ELEMENTS, "Do you want to remove the selected input element(s)?"},
    {IDS_LOAD_TEMPLATE_LOSES_DATA,
     "If you load from template file, the existing information (and form elements created) will "
     "be lost. Do you want to proceed with loading from the template?"},
    {IDS_FILE_PATH_EMPTY, "File Path is Empty! Please select the HTML File that contains the Form"},
};

const ondrelo::SModuleResources kResources{"Formwarden", &kStrings, ":/Formwarden"};

}  // namespace

const ondrelo::SModuleResources& FormwardenResources() {
    return kResources;
}

std::string FormString(unsigned id) {
    auto it = kStrings.find(id);
    if (it != kStrings.end()) {
        return it->second;
    }
    return ondrelo::ResString(id);
}

int FormMessageBox(const std::string& text, unsigned style, HWND owner) {
    // Always the wizard's own title: Common's message title is one per
    // process, and the host creates every module at start, so it holds the
    // title of whichever wizard page was activated last.
    return ondrelo::Prompt().MessageBox(owner, kFormWizardTitle, text, style);
}

}  // namespace formwarden
