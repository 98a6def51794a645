// The "Test Area" of the image page without its window: three image slots
// (normal, mouse over, mouse down), where each is placed, which one is
// drawn, and the rollover imitation driven by mouse events. The window that
// shows it implements ITestAreaView.
#pragma once

#include <memory>
#include <string>

#include "hoverkit/ImageFile.h"
#include "hoverkit/MoverButtonInfo.h"
#include "ondrelo/Window.h"

namespace hoverkit {

struct SRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const SRect&) const = default;
};

// What the test area asks of its window.
class ITestAreaView {
public:
    virtual ~ITestAreaView() = default;
    virtual void Repaint() = 0;
    virtual void CaptureMouse(bool capture) = 0;
    virtual void GetClientSize(int& width, int& height) const = 0;
};

// The format code for a file name by its extension (any case): 1 GIF,
// 2 JPEG ("jpg", "jpeg"), 3 PNG; 0 for anything else.
int ImageFormatFromPath(const std::string& path);

// Where an image of size (w, h) goes in an area of size (W, H): centred; a
// side larger than the area starts at 0 and ends at the area's edge.
SRect PlaceInArea(int w, int h, int W, int H);

}  // namespace hoverkit

struct SButtonImage {
    std::string m_strPath;
    int m_nWidth = 0;
    int m_nHeight = 0;
    hoverkit::SRect m_rcPlacement;
    std::unique_ptr<CImageFile> m_pImage;
    int m_nFormat = 0;

    bool HasImage() const { return m_pImage && m_pImage->IsValid(); }
};

class CImageTestArea {
public:
    explicit CImageTestArea(hoverkit::ITestAreaView* view = nullptr) : m_pView(view) {}
    void SetView(hoverkit::ITestAreaView* view) { m_pView = view; }

    // Loads the file into the slot at its natural size. An unsupported
    // extension leaves the slot as it was; any other failure clears it.
    // False, with the last error text set, on failure.
    bool Load(const std::string& path, int slot);
    // Decodes the slot's file again at the given size (nothing for an empty
    // slot; only the placement is redone when the size is unchanged).
    void ResizeSlot(int slot, int width, int height);
    void ClearSlot(int slot);
    void ClearAll();
    const std::string& GetLastError() const { return m_strLastError; }

    const SButtonImage& GetSlot(int slot) const { return m_slots[Index(slot)]; }
    bool IsPressed() const { return m_bPressed; }
    bool IsMouseOver() const { return m_bMouseOver; }
    // The slot to draw now, or -1 when there is nothing to draw.
    int SlotToDraw() const;

    // The rollover imitation (positions in the area's client coordinates).
    void OnMouseMove(int x, int y);
    void OnLeftButtonDown(int x, int y);
    void OnLeftButtonUp(int x, int y);
    void Repaint();

private:
    static int Index(int slot) { return slot >= 0 && slot < hoverkit::kImageCount ? slot : 0; }
    void Place(int slot, int width, int height);
    void Capture(bool capture);

    hoverkit::ITestAreaView* m_pView;
    SButtonImage m_slots[hoverkit::kImageCount];
    bool m_bPressed = false;
    bool m_bMouseOver = false;
    std::string m_strLastError;
};

namespace hoverkit {

// Control numbers of the image page that the rules below refer to.
enum EImagePageControl : int {
    IDC_NORMAL_PATH = 201,
    IDC_ACTIVE_PATH = 203,
    IDC_CLICK_PATH = 205,
};

// Reloads a slot from the record's path for that image and writes the
// size the slot got (0 by 0 after a failure) back into the record. When the
// test area has an error text, it is put into messageLine.
void ReloadSlot(CMoverButtonInfo& info, CImageTestArea& area, int index,
                std::string& messageLine);

// The check of the image page's "Next": 0 when the page may be left, else
// the control that gets the focus, with the message to show.
int CheckImagesPage(const CMoverButtonInfo& info, std::string& message);

// The file dialog for an image, starting in the folder last used; the
// chosen file's folder is remembered. Empty when the user cancelled.
std::string BrowseForImage(HWND owner = nullptr);

}  // namespace hoverkit
