#include "hoverkit/ImageTestArea.h"

#include <algorithm>
#include <cctype>

#include "hoverkit/HoverkitResources.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/Prompt.h"

namespace hoverkit {

int ImageFormatFromPath(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return CImageFile::kFormatNone;
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "gif")
        return CImageFile::kFormatGif;
    if (ext == "jpg" || ext == "jpeg")
        return CImageFile::kFormatJpeg;
    if (ext == "png")
        return CImageFile::kFormatPng;
    return CImageFile::kFormatNone;
}

SRect PlaceInArea(int w, int h, int W, int H) {
    SRect r;
    r.left = (W - w) / 2;
    r.top = (H - h) / 2;
    r.right = r.left + w;
    r.bottom = r.top + h;
    if (W < w) {
        r.left = 0;
        r.right = W;
    }
    if (H < h) {
        r.top = 0;
        r.bottom = H;
    }
    return r;
}

}  // namespace hoverkit

using namespace hoverkit;

bool CImageTestArea::Load(const std::string& path, int slot) {
    const int format = ImageFormatFromPath(path);
    if (format == CImageFile::kFormatNone) {
        m_strLastError = HoverkitString(IDS_UNSUPPORTED_FORMAT);
        return false;
    }
    SButtonImage& s = m_slots[Index(slot)];
    s.m_nFormat = format;
    s.m_pImage = std::make_unique<CImageFile>(path, format);
    s.m_nWidth = s.m_pImage->GetWidth();
    s.m_nHeight = s.m_pImage->GetHeight();
    if (s.m_pImage->IsValid()) {
        s.m_strPath = path;
        Place(Index(slot), s.m_nWidth, s.m_nHeight);
        Repaint();
        return true;
    }
    m_strLastError = s.m_pImage->GetErrorText();
    ClearSlot(slot);
    return false;
}

void CImageTestArea::ResizeSlot(int slot, int width, int height) {
    SButtonImage& s = m_slots[Index(slot)];
    if (!s.m_pImage)
        return;
    if (width != s.m_nWidth || height != s.m_nHeight) {
        // Always from the file, so that repeated resizing loses nothing.
        auto image = std::make_unique<CImageFile>(s.m_strPath, s.m_nFormat);
        if (!image->IsValid()) {
            // The file went away or changed meanwhile: keep what is shown.
            m_strLastError = image->GetErrorText();
            return;
        }
        if (!image->Resample(width, height)) {
            m_strLastError = image->GetErrorText();
            return;
        }
        s.m_pImage = std::move(image);
        // A zero size keeps the pixels but is shown as what a browser shows
        // for it: nothing.
        s.m_nWidth = std::max(width, 0);
        s.m_nHeight = std::max(height, 0);
    }
    Place(Index(slot), s.m_nWidth, s.m_nHeight);
    Repaint();
}

void CImageTestArea::ClearSlot(int slot) {
    SButtonImage& s = m_slots[Index(slot)];
    s.m_pImage.reset();
    s.m_strPath.clear();
    s.m_nWidth = 0;
    s.m_nHeight = 0;
    s.m_rcPlacement = SRect{};
    if (Index(slot) == kNormalImage && m_bMouseOver) {
        m_bMouseOver = false;
        Capture(false);
    }
    if (Index(slot) == kClickImage && m_bPressed) {
        m_bPressed = false;
        Capture(false);
    }
}

void CImageTestArea::ClearAll() {
    for (int i = 0; i < kImageCount; ++i)
        ClearSlot(i);
    Repaint();
}

void CImageTestArea::Place(int slot, int width, int height) {
    SButtonImage& s = m_slots[slot];
    int areaWidth = 0;
    int areaHeight = 0;
    if (m_pView)
        m_pView->GetClientSize(areaWidth, areaHeight);
    s.m_rcPlacement = PlaceInArea(width, height, areaWidth, areaHeight);
    if (s.m_pImage && (areaWidth < width || areaHeight < height)) {
        // Larger than the area: the top-left part is kept.
        s.m_pImage->Crop(0, 0, s.m_rcPlacement.right - s.m_rcPlacement.left,
                         s.m_rcPlacement.bottom - s.m_rcPlacement.top);
    }
}

int CImageTestArea::SlotToDraw() const {
    if (m_slots[kClickImage].HasImage() && m_bPressed)
        return kClickImage;
    if (m_slots[kActiveImage].HasImage() && m_bMouseOver)
        return kActiveImage;
    if (m_slots[kNormalImage].HasImage())
        return kNormalImage;
    return -1;
}

void CImageTestArea::OnMouseMove(int x, int y) {
    const SButtonImage& normal = m_slots[kNormalImage];
    if (!normal.HasImage())
        return;
    const bool inside = normal.m_rcPlacement.Contains(x, y);
    if (!m_bMouseOver && inside) {
        Capture(true);
        m_bMouseOver = true;
        Repaint();
    } else if (m_bMouseOver && !inside) {
        // The pressed state keeps the capture until the button comes up.
        if (!m_bPressed)
            Capture(false);
        m_bMouseOver = false;
        Repaint();
    }
}

void CImageTestArea::OnLeftButtonDown(int, int) {
    if (m_slots[kClickImage].HasImage() && !m_bPressed) {
        Capture(true);
        m_bPressed = true;
        Repaint();
    }
}

void CImageTestArea::OnLeftButtonUp(int, int) {
    if (m_slots[kClickImage].HasImage() && m_bPressed) {
        if (!m_bMouseOver)
            Capture(false);
        m_bPressed = false;
        Repaint();
    }
}

void CImageTestArea::Repaint() {
    if (m_pView)
        m_pView->Repaint();
}

void CImageTestArea::Capture(bool capture) {
    if (m_pView)
        m_pView->CaptureMouse(capture);
}

namespace hoverkit {

void ReloadSlot(CMoverButtonInfo& info, CImageTestArea& area, int index,
                std::string& messageLine) {
    if (info.ImagePath(index).empty()) {
        area.ClearSlot(index);
        info.ImageWidth(index) = 0;
        info.ImageHeight(index) = 0;
        area.Repaint();
        return;
    }
    area.Load(info.ImagePath(index), index);
    if (!area.GetLastError().empty())
        messageLine = area.GetLastError();
    const SButtonImage& slot = area.GetSlot(index);
    info.ImageWidth(index) = slot.m_nWidth;
    info.ImageHeight(index) = slot.m_nHeight;
}

int CheckImagesPage(const CMoverButtonInfo& info, std::string& message) {
    if (info.m_strNormalImage.empty()) {
        message = HoverkitString(IDS_SELECT_NORMAL_IMAGE);
        return IDC_NORMAL_PATH;
    }
    if (info.m_strActiveImage.empty() && info.m_strClickImage.empty()) {
        message = HoverkitString(IDS_SELECT_ACTIVE_OR_CLICK);
        return IDC_ACTIVE_PATH;
    }
    return 0;
}

std::string BrowseForImage(HWND owner) {
    ondrelo::SFileDialogSpec request;
    request.open = true;
    request.owner = owner;
    request.filter = HoverkitString(IDS_IMAGE_FILTER);
    request.hideReadOnly = true;
    std::string folder;
    if (COndRegistryHandler::GetSettingsValue(kLastImageFolderSetting, folder))
        request.initialDir = folder;
    std::string path;
    if (!ondrelo::Prompt().FileDialog(request, path))
        return std::string();
    const std::size_t sep = path.find_last_of("\\/");
    if (sep != std::string::npos)
        COndRegistryHandler::SetSettingsValue(kLastImageFolderSetting, path.substr(0, sep));
    return path;
}

}  // namespace hoverkit
