#include "hoverkit/MoverButtonInfo.h"

// The three image triples are addressed by index: 0 normal, 1 active, 2 click.
// An index outside 0..2 is a programming error; it falls back to the normal
// image rather than touching memory outside the record.

std::string& CMoverButtonInfo::ImagePath(int index) {
    return index == 1 ? m_strActiveImage : index == 2 ? m_strClickImage : m_strNormalImage;
}

int& CMoverButtonInfo::ImageHeight(int index) {
    return index == 1 ? m_nActiveHeight : index == 2 ? m_nClickHeight : m_nNormalHeight;
}

int& CMoverButtonInfo::ImageWidth(int index) {
    return index == 1 ? m_nActiveWidth : index == 2 ? m_nClickWidth : m_nNormalWidth;
}

const std::string& CMoverButtonInfo::ImagePath(int index) const {
    return const_cast<CMoverButtonInfo*>(this)->ImagePath(index);
}

int CMoverButtonInfo::ImageHeight(int index) const {
    return const_cast<CMoverButtonInfo*>(this)->ImageHeight(index);
}

int CMoverButtonInfo::ImageWidth(int index) const {
    return const_cast<CMoverButtonInfo*>(this)->ImageWidth(index);
}
