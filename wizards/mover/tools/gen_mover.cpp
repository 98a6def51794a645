// ondrelo-gen button: one rollover button, generated and inserted as the
// button wizard does. Image sizes are read from the files by the wizard's
// image layer unless given.
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "hoverkit/HoverkitResources.h"
#include "hoverkit/ImageFile.h"
#include "hoverkit/ImageTestArea.h"
#include "hoverkit/MoverButtonCodeGen.h"
#include "ondrelo/gen/GenCommand.h"

namespace {

using ondrelo::gen::CGenFailure;
using ondrelo::gen::CUsageError;

// The button generator as the shared part of ondrelo-gen reads it: the
// inclusion line first, then the code (the wizard's own generator hands
// them out the other way round, as its last page takes them).
class CGenButtonCodeGen : public CMoverButtonCodeGen {
public:
    int GetCode(std::string& text1, std::string& text2, std::string& text3,
                std::string& warnings) override {
        return CMoverButtonCodeGen::GetCode(text2, text1, text3, warnings);
    }
};

struct SButtonJob {
    CMoverButtonInfo info;
    CGenButtonCodeGen generator;
};

// "WxH" into width and height; false when it is not two numbers 0 to 99999.
bool ParseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos || x == 0 || x + 1 >= text.size() || text.size() > 11)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != x && (text[i] < '0' || text[i] > '9'))
            return false;
    width = std::atoi(text.substr(0, x).c_str());
    height = std::atoi(text.substr(x + 1).c_str());
    return width <= 99999 && height <= 99999;
}

void RunButton(const std::vector<std::string>& args, const ondrelo::gen::SGenOptions& options,
               ondrelo::gen::SGenerated& out) {
    auto job = std::make_shared<SButtonJob>();
    CMoverButtonInfo& info = job->info;
    const char* const names[] = {"normal", "active", "click"};
    bool sized[hoverkit::kImageCount] = {};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size())
            throw CUsageError("button: " + option + " needs a value");
        const std::string& value = args[++i];
        bool known = false;
        for (int k = 0; k < hoverkit::kImageCount; ++k) {
            if (option == std::string("--") + names[k]) {
                info.ImagePath(k) = ondrelo::gen::AbsolutePath(value);
                known = true;
            } else if (option == std::string("--") + names[k] + "-size") {
                if (!ParseSize(value, info.ImageWidth(k), info.ImageHeight(k)))
                    throw CUsageError("button: " + option + " takes WIDTHxHEIGHT, not " + value);
                sized[k] = true;
                known = true;
            }
        }
        if (option == "--url") {
            info.m_strTargetURL = value;
        } else if (option == "--status") {
            info.m_strStatusText = value;
        } else if (option == "--alt") {
            info.m_strAltText = value;
        } else if (!known) {
            throw CUsageError("button: unknown argument " + option);
        }
    }
    if (info.m_strNormalImage.empty())
        throw CUsageError("button: --normal PATH is required");
    for (int k = 0; k < hoverkit::kImageCount; ++k) {
        if (sized[k] || info.ImagePath(k).empty())
            continue;
        const std::string& path = info.ImagePath(k);
        const int format = hoverkit::ImageFormatFromPath(path);
        if (format == CImageFile::kFormatNone)
            throw CGenFailure(path + ": " + hoverkit::HoverkitString(hoverkit::IDS_UNSUPPORTED_FORMAT) +
                              " (give --" + names[k] + "-size)");
        const CImageFile image(path, format);
        if (!image.IsValid())
            throw CGenFailure(path + ": " + image.GetErrorText());
        info.ImageWidth(k) = image.GetWidth();
        info.ImageHeight(k) = image.GetHeight();
    }
    info.m_bChanged = 1;
    job->generator.SetButtonInfo(&info);
    job->generator.SetPagePath(options.page);

    out.generator = std::shared_ptr<CCodeGen>(job, &job->generator);
    out.scriptName = hoverkit::kScriptFileName;
    out.placeholderText = hoverkit::kPlaceholder;
    out.insert = [job](const ondrelo::gen::SInsertRequest& r) {
        return job->generator.Insert(r.scriptDestination, r.page, r.newFile, !r.atPlaceholder) == 1;
    };
    out.inclusion = [job](const std::string& page, const std::string& script, std::string& line) {
        line = job->generator.GenerateScriptInclusion(page, script, hoverkit::kScriptFileName);
        return true;
    };
}

const char* const kButtonUsage =
    "  ondrelo-gen button --normal PATH [--active PATH] [--click PATH]\n"
    "                     [--normal-size WxH] [--active-size WxH] [--click-size WxH]\n"
    "                     [--url TARGET] [--status TEXT] [--alt TEXT]\n"
    "      a rollover button; image sizes are read from the GIF, JPEG or PNG\n"
    "      files unless given\n";

}  // namespace

ONDRELO_GEN_SUBCOMMAND(button, "a rollover button (link with changing images)", kButtonUsage,
                       &RunButton);
