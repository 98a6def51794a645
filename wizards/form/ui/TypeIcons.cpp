// The element type icons of the form wizard's lists.
#include "FormwardenDialogs.h"

namespace formwarden {

QIcon ElementTypeIcon(int /*type*/) {
    return {};
}

const CImageList& ElementTypeImageList() {
    static const CImageList list(kElementTypeCount);
    return list;
}

}  // namespace formwarden
