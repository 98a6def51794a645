// The rollover button that one run of the wizard makes: its three images
// (normal, mouse over, mouse down), the link target and the two texts.
#pragma once

#include <string>

namespace hoverkit {

// Index of an image in the record, the test area and the image page.
enum EButtonImage : int { kNormalImage = 0, kActiveImage = 1, kClickImage = 2, kImageCount = 3 };

}  // namespace hoverkit

class CMoverButtonInfo {
public:
    CMoverButtonInfo() = default;
    CMoverButtonInfo(const CMoverButtonInfo&) = default;
    CMoverButtonInfo& operator=(const CMoverButtonInfo&) = default;
    virtual ~CMoverButtonInfo() = default;

    // Sets every field to its cleared value.
    void Clear() { *this = CMoverButtonInfo(); }

    // The image triple (path, height, width) by index, in the order of the fields.
    std::string& ImagePath(int index);
    int& ImageHeight(int index);
    int& ImageWidth(int index);
    const std::string& ImagePath(int index) const;
    int ImageHeight(int index) const;
    int ImageWidth(int index) const;

    std::string m_strNormalImage;
    int m_nNormalHeight = 0;
    int m_nNormalWidth = 0;
    std::string m_strActiveImage;
    int m_nActiveHeight = 0;
    int m_nActiveWidth = 0;
    std::string m_strClickImage;
    int m_nClickHeight = 0;
    int m_nClickWidth = 0;
    std::string m_strTargetURL;
    std::string m_strStatusText;
    std::string m_strAltText;
    int m_bChanged = 0;  // 1 when changed since code was last generated
};
