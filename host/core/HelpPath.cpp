#include "HelpPath.h"

namespace ondrelo::host {

std::string HelpPagePath(const std::string& folder, const std::string& page) {
    if (folder.empty()) {
        return {};
    }
    std::string path = folder;
    if (path.back() != '/') {
        path += '/';
    }
    return path + page;
}

}  // namespace ondrelo::host
