// The button wizard's numbered texts.
#pragma once

#include <string>

#include "ondrelo/Resources.h"

namespace hoverkit {

enum EHoverkitStringId : unsigned {
    IDS_TARGET_URL_EMPTY = 101,
    IDS_NO_NORMAL_IMAGE = 102,
    IDS_IMAGE_SIZES_DIFFER = 103,
    IDS_OPEN_HTML_FAILED = 104,
    IDS_INSERT_FAILED = 105,
    IDS_INSERT_AFTER_BODY_FAILED = 106,
    IDS_REPLACE_STRING_NOT_FOUND = 107,
    IDS_SELECT_NORMAL_IMAGE = 108,
    IDS_SELECT_ACTIVE_OR_CLICK = 109,
    IDS_UNSUPPORTED_FORMAT = 110,
    IDS_UNSUPPORTED_OPERATION = 111,
    IDS_SUB_CODE_INSTRUCTION = 112,
    IDS_MAIN_CODE_INSTRUCTION = 113,
    IDS_IMAGE_FILTER = 114,
    IDS_NEW_PAGE_TITLE = 115,
};

inline constexpr const char* kScriptFileName = "mover2.js";
inline constexpr const char* kPlaceholder = "_PLACE_MOVER_BUTTON_HERE_";
inline constexpr const char* kObjectName = "MOver Button";
inline constexpr const char* kModuleSignature = "M_OVER_WIZ";
inline constexpr const char* kLastImageFolderSetting = "LastImageCopyFolder";

// The library's resources, for CModuleResourceScope.
const ondrelo::SModuleResources& HoverkitResources();
// A text of the wizard's table, then Common's; empty when neither has it.
std::string HoverkitString(unsigned id);

}  // namespace hoverkit
