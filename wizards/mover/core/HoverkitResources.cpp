#include "hoverkit/HoverkitResources.h"

namespace hoverkit {

namespace {

const ondrelo::StringTable kStrings = {
    {IDS_TARGET_URL_EMPTY, "Target URL is empty! Making the HREF to # (same page)"},
    {IDS_NO_NORMAL_IMAGE, "No Normal Image selected!"},
    {IDS_IMAGE_SIZES_DIFFER,
     "The size of the normal and active images differ! In some browsers(NS4), the change in "
     "width may not work."},
    {IDS_OPEN_HTML_FAILED, "Failed opening Html File"},
    {IDS_INSERT_FAILED, "Failed inserting code. Ensure that the file is formatted proprly"},
    {IDS_INSERT_AFTER_BODY_FAILED, "Failed inserting the code after <body> tag."},
    {IDS_REPLACE_STRING_NOT_FOUND, "The replace string was not found in the file"},
    {IDS_SELECT_NORMAL_IMAGE, "Please select the Normal Image"},
    {IDS_SELECT_ACTIVE_OR_CLICK, "Please select active image or click image"},
    {IDS_UNSUPPORTED_FORMAT, "Unsupported image file format"},
    {IDS_UNSUPPORTED_OPERATION, "Unsupported operation for this format"},
    {IDS_SUB_CODE_INSTRUCTION,
     "Copy the following code just after the </HEAD> tag in the HTML page. Make sure that the "
     "path in 'src' attribute is the relative path of the file you copied in step 1 (see help "
     "for details)"},
    {IDS_MAIN_CODE_INSTRUCTION,
     "Code Of the Mouse over button. Copy && Paste this code to the HTML page"},
    {IDS_IMAGE_FILTER,
     "Web Images (*.jpg,*.png,*.gif)|*.jpg; *.png;*.gif|All Files(*.*)|*.*||"},
    {IDS_NEW_PAGE_TITLE, "Mouse Over Button"},
};

const ondrelo::SModuleResources kResources{"Hoverkit", &kStrings, ":/Hoverkit"};

}  // namespace

const ondrelo::SModuleResources& HoverkitResources() {
    return kResources;
}

std::string HoverkitString(unsigned id) {
    auto it = kStrings.find(id);
    if (it != kStrings.end())
        return it->second;
    return ondrelo::ResString(id);
}

}  // namespace hoverkit
