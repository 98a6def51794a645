#include "ondrelo/HTMLScanner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <boost/regex.hpp>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <unordered_map>

#include "ondrelo/AtomicFile.h"
#include "ondrelo/Common.h"
#include "ondrelo/OndException.h"
#include "ondrelo/Text.h"

namespace {

constexpr std::uint32_t kScanErrorCode = 1003;
constexpr const char* kTooLargeText =
    "The page is too large or malformed to be scanned; it was left unchanged.";
constexpr const char* kModifiedQuestion =
    "The file was modified after Ondrelo Read it.If you proceed, the changes will be "
    "overwritten. Do you want to proceed?";

// White space as the regular expressions' \s sees it: tab, line feed,
// vertical tab, form feed, carriage return and blank.
using ondrelo::EqualNoCase;
using ondrelo::Trim;
constexpr auto& IsSpace = ondrelo::IsBlank;
constexpr auto& Lower = ondrelo::LowerAscii;

// Room kept free behind a page's text for the code a wizard inserts: enough
// for its usual insertions, so that they move the text in place instead of
// copying it into a larger buffer.
std::size_t InsertionRoom(std::size_t size) {
    return std::min<std::size_t>(size / 8, std::size_t{1} << 20) + 4096;
}

[[noreturn]] void ThrowTooLarge() {
    COndException::ThrowOndException(kTooLargeText, kScanErrorCode);
    // ThrowOndException only returns when it could not build the error object.
    throw std::bad_alloc();
}

// Compiled expressions, one per pattern and flags, kept for the life of the
// thread so that repeated searches do not compile again. Callers hold a
// reference of their own, so trimming the cache never pulls one away.
std::shared_ptr<const boost::regex> CachedRegex(const std::string& pattern,
                                                boost::regex::flag_type flags) {
    thread_local std::unordered_map<std::string, std::shared_ptr<const boost::regex>> cache;
    std::string key = std::to_string(flags) + ':' + pattern;
    auto it = cache.find(key);
    if (it != cache.end()) {
        return it->second;
    }
    auto compiled = std::make_shared<const boost::regex>(pattern, flags);  // may raise regex_error
    if (cache.size() >= 256) {
        cache.clear();
    }
    cache.emplace(std::move(key), compiled);
    return compiled;
}

constexpr boost::regex::flag_type kScanFlags =
    boost::regex::normal | boost::regex::icase;  // boost raises errors by default

// Runs a search and turns the engine giving up (too complex, out of its
// stack or memory) into the scanner's error. Compilation errors are raised
// before this and pass unchanged.
template <class It>
bool SafeSearch(It b, It e, boost::match_results<It>& m, const boost::regex& re,
                boost::match_flag_type flags) {
    try {
        return boost::regex_search(b, e, m, re, flags);
    } catch (const std::runtime_error&) {
        ThrowTooLarge();
    } catch (const std::bad_alloc&) {
        ThrowTooLarge();
    }
}

// A tag name made of letters, digits, '_', '-' and ':' means itself in a
// regular expression, so the search can be done by the hand-written scanner.
bool IsPlainName(const std::string& name) {
    if (name.empty()) {
        return false;
    }
    for (unsigned char c : name) {
        if (c >= 0x80 || !(std::isalnum(c) || c == '_' || c == '-' || c == ':')) {
            return false;
        }
    }
    return true;
}

// Case-insensitive comparison of the word at text[pos] with a lower-case or
// mixed-case ASCII word.
bool WordAt(const std::string& text, std::size_t pos, const std::string& word) {
    if (pos > text.size() || text.size() - pos < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Lower(text[pos + i]) != Lower(word[i])) {
            return false;
        }
    }
    return true;
}

// Plain substring search; memmem is much faster than find on pages where
// the first character of the needle ("<") is common.
std::size_t FindText(const std::string& text, const std::string& needle, std::size_t from) {
    if (from > text.size()) {
        return std::string::npos;
    }
    const void* hit =
        ::memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
    return hit == nullptr ? std::string::npos
                          : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

std::size_t SkipSpace(const std::string& text, std::size_t pos) {
    while (pos < text.size() && IsSpace(text[pos])) {
        ++pos;
    }
    return pos;
}

// First "</ NAME >" (blanks allowed around the name, any case) at or after
// from; returns its start and sets end just after its ">", or npos.
std::size_t FindClosingTag(const std::string& text, std::size_t from, const std::string& name,
                           std::size_t& end) {
    for (std::size_t q = text.find("</", from); q != std::string::npos;
         q = text.find("</", q + 1)) {
        std::size_t k = SkipSpace(text, q + 2);
        if (!WordAt(text, k, name)) {
            continue;
        }
        k = SkipSpace(text, k + name.size());
        if (k < text.size() && text[k] == '>') {
            end = k + 1;
            return q;
        }
    }
    return std::string::npos;
}

struct SFound {
    std::size_t tagStart, tagEnd, attrStart, attrEnd, contentStart, contentEnd;
};

// The leftmost match of
//   (<!--(.*?)-->)|(<\s*SCRIPT(.*?)</\s*SCRIPT\s*>)|(<\s*NAME(?=[\s/>])\s*([^>]*)>[(.*?)</\s*NAME\s*>])
// whose tag alternative took part, searching on after every comment or
// script block, worked out by hand for a plain name. It gives the same
// result as the expression in one pass, and remembers blocks that never
// close so that later searches do not look for their end again.
bool ScanPlain(const std::string& text, const std::string& name, bool withContent, STagSearch& st,
               SFound& f) {
    const std::size_t n = text.size();
    if (withContent && st.m_strClosingName != name) {
        st.m_strClosingName = name;
        st.m_nNoClosingTagFrom = std::string::npos;
    }
    std::size_t p = st.m_nFrom;
    while (p < n) {
        const void* lt = std::memchr(text.data() + p, '<', n - p);
        if (lt == nullptr) {
            return false;
        }
        p = static_cast<const char*>(lt) - text.data();

        // A comment, if it is closed.
        if (text.compare(p, 4, "<!--") == 0 && p + 4 < st.m_nNoCommentEndFrom) {
            std::size_t q = text.find("-->", p + 4);
            if (q != std::string::npos) {
                p = q + 3;
                continue;
            }
            st.m_nNoCommentEndFrom = p + 4;
        }

        const std::size_t k = SkipSpace(text, p + 1);

        // A script block, if it is closed.
        if (WordAt(text, k, "script") && k + 6 < st.m_nNoScriptEndFrom) {
            std::size_t end = 0;
            if (FindClosingTag(text, k + 6, "script", end) != std::string::npos) {
                p = end;
                continue;
            }
            st.m_nNoScriptEndFrom = k + 6;
        }

        // The tag: its name must end here.
        const std::size_t after = k + name.size();
        if (WordAt(text, k, name) && after < n &&
            (IsSpace(text[after]) || text[after] == '/' || text[after] == '>')) {
            const std::size_t a = SkipSpace(text, after);
            const std::size_t g = text.find('>', a);
            if (g == std::string::npos) {
                return false;  // no later tag can be complete either
            }
            if (!withContent) {
                f = {p, g + 1, a, g, 0, 0};
                return true;
            }
            if (g + 1 < st.m_nNoClosingTagFrom) {
                std::size_t end = 0;
                std::size_t q = FindClosingTag(text, g + 1, name, end);
                if (q != std::string::npos) {
                    f = {p, end, a, g, g + 1, q};
                    return true;
                }
                st.m_nNoClosingTagFrom = g + 1;
            }
            // Every later occurrence lacks its closing tag as well.
            return false;
        }
        ++p;
    }
    return false;
}

// The same search with the regular expression itself, for tag names that
// carry expression syntax.
bool ScanRegex(const std::string& text, const std::string& name, bool withContent, STagSearch& st,
               SFound& f) {
    std::string tagPattern = "<\\s*" + name + "(?=[\\s/>])\\s*([^>]*)>";
    if (withContent) {
        tagPattern += "(.*?)</\\s*" + name + "\\s*>";
    }
    const std::string pattern =
        "(<!\\-\\-(.*?)\\-\\->)|(<\\s*SCRIPT(.*?)</\\s*SCRIPT\\s*>)|(" + tagPattern + ")";
    const auto re = CachedRegex(pattern, kScanFlags);

    using It = std::string::const_iterator;
    boost::match_results<It> m;
    std::size_t pos = st.m_nFrom;
    while (pos <= text.size()) {
        boost::match_flag_type flags = boost::match_default;
        if (pos > 0) {
            flags |= boost::match_not_bob | boost::match_prev_avail;
        }
        if (!SafeSearch(text.begin() + pos, text.end(), m, *re, flags)) {
            return false;
        }
        const std::size_t start = m[0].first - text.begin();
        const std::size_t end = m[0].second - text.begin();
        if (m[5].matched && m[5].length() > 0) {
            f.tagStart = m[5].first - text.begin();
            f.tagEnd = m[5].second - text.begin();
            f.attrStart = m[6].first - text.begin();
            f.attrEnd = m[6].second - text.begin();
            f.contentStart = withContent && m[7].matched ? m[7].first - text.begin() : 0;
            f.contentEnd = withContent && m[7].matched ? m[7].second - text.begin() : 0;
            return true;
        }
        // A comment or script block: go on after it (an empty match would
        // otherwise be found again and again).
        pos = end > start ? end : start + 1;
    }
    return false;
}

// The attribute pattern: name, then optionally "=" and a single-quoted,
// double-quoted or unquoted value. Blanks and line breaks may stand on both
// sides of "=", as browsers allow: those before it end up in the name and are
// trimmed off, those after it are skipped before the value.
std::shared_ptr<const boost::regex> AttributeRegex() {
    static const std::string single = "'([^']*)'";
    static const std::string dbl = "\"([^\"]*)\"";
    static const std::string pattern =
        "\\s*([^=]*)(\\s*=\\s*(" + single + "|" + dbl + "|([^\\s^>]*)))?";
    thread_local const std::shared_ptr<const boost::regex> re = CachedRegex(pattern, kScanFlags);
    return re;
}

bool CollectRange(const char* b, const char* e, SHtmlTag& tag, std::uint32_t base) {
    const auto re = AttributeRegex();
    boost::match_results<const char*> m;
    bool found = false;
    const char* pos = b;
    while (pos <= e) {
        boost::match_flag_type flags = boost::match_default;
        if (pos > b) {
            flags |= boost::match_not_bob | boost::match_prev_avail;
        }
        if (!SafeSearch(pos, e, m, *re, flags)) {
            break;
        }
        std::string name = Trim(m[1].first, m[1].second);
        if (name.empty()) {
            break;
        }
        const boost::sub_match<const char*>* value = &m[4];
        if (value->length() == 0) {
            value = &m[5];
        }
        if (value->length() == 0) {
            value = &m[6];
        }
        STagAttribute attribute;
        attribute.m_strName = std::move(name);
        if (value->matched) {
            attribute.m_strValue = Trim(value->first, value->second);
        }
        attribute.m_nStart = static_cast<std::uint32_t>(m[0].first - b) + base;
        attribute.m_nEnd = static_cast<std::uint32_t>(m[0].second - b) + base;
        tag.AddAttribute(attribute);
        found = true;
        if (m[0].second == pos) {
            break;  // an empty match cannot move on
        }
        pos = m[0].second;
    }
    return found;
}


// ---- files -----------------------------------------------------------------

std::int64_t ToNs(const struct statx_timestamp& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

SFileStamp StampOf(const struct statx& sx) {
    SFileStamp stamp;
    if (sx.stx_mask & STATX_BTIME) {
        stamp.birthTimeNs = ToNs(sx.stx_btime);
    }
    stamp.writeTimeNs = ToNs(sx.stx_mtime);
    stamp.changeTimeNs = ToNs(sx.stx_ctime);
    stamp.size = static_cast<std::int64_t>(sx.stx_size);
    stamp.device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    stamp.inode = sx.stx_ino;
    return stamp;
}

constexpr unsigned kStampMask =
    STATX_BTIME | STATX_MTIME | STATX_CTIME | STATX_SIZE | STATX_INO | STATX_MODE;

// Closes a descriptor when it goes out of scope.
struct SFd {
    int fd = -1;
    ~SFd() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

std::string ReadWhole(const std::string& path, SFileStamp& stamp) {
    SFd file;
    do {
        file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (file.fd < 0 && errno == EINTR);
    if (file.fd < 0) {
        throw ondrelo::CFileException::FromErrno(errno, path, "open");
    }
    // The stamp is taken before reading: a change made while reading then
    // counts as a change at save time.
    struct statx sx {};
    if (::statx(file.fd, "", AT_EMPTY_PATH, kStampMask, &sx) != 0) {
        throw ondrelo::CFileException::FromErrno(errno, path, "read");
    }
    // Read straight into the text, with room for the insertions behind it;
    // the size is only a first guess, as the file may grow or shrink while
    // it is read.
    std::string data;
    std::size_t have = 0;
    const std::size_t expected = static_cast<std::size_t>(sx.stx_size);
    data.resize(S_ISREG(sx.stx_mode) ? expected + InsertionRoom(expected) : 65536);
    for (;;) {
        if (have == data.size()) {
            data.resize(data.size() * 2);
        }
        ssize_t got = ::read(file.fd, data.data() + have, data.size() - have);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw ondrelo::CFileException::FromErrno(errno, path, "read");
        }
        if (got == 0) {
            break;
        }
        have += static_cast<std::size_t>(got);
    }
    data.resize(have);
    stamp = StampOf(sx);
    return data;
}

bool CurrentStamp(const std::string& path, SFileStamp& stamp) {
    struct statx sx {};
    if (::statx(AT_FDCWD, path.c_str(), 0, kStampMask, &sx) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return false;
        }
        throw ondrelo::CFileException::FromErrno(errno, path, "open");
    }
    stamp = StampOf(sx);
    return true;
}

}  // namespace

// ---- SHtmlTag ----------------------------------------------------------------

int SHtmlTag::AddAttribute(const STagAttribute& attribute) {
    m_Attributes.push_back(attribute);
    return static_cast<int>(m_Attributes.size()) - 1;
}

std::string SHtmlTag::GetAttribValue(const std::string& name) const {
    const std::string wanted = Trim(name);
    for (const STagAttribute& a : m_Attributes) {
        if (EqualNoCase(a.m_strName, wanted)) {
            return a.m_strValue;
        }
    }
    return std::string();
}

bool SHtmlTag::DoesExist(const std::string& name) const {
    const std::string wanted = Trim(name);
    for (const STagAttribute& a : m_Attributes) {
        if (EqualNoCase(a.m_strName, wanted)) {
            return true;
        }
    }
    return false;
}

int SHtmlTag::GetAttributeInfo(const std::string& name, std::string& value, std::uint32_t& start,
                               std::uint32_t& end) const {
    value.clear();
    for (std::size_t i = 0; i < m_Attributes.size(); ++i) {
        const STagAttribute& a = m_Attributes[i];
        if (EqualNoCase(a.m_strName, name)) {
            value = a.m_strValue;
            start = a.m_nStart;
            end = a.m_nEnd;
            return static_cast<int>(i);
        }
    }
    return -1;
}

void SHtmlTag::Clear() {
    *this = SHtmlTag();
}

// ---- CHTMLScanner: document ------------------------------------------------------

CHTMLScanner::CHTMLScanner() = default;
CHTMLScanner::CHTMLScanner(const CHTMLScanner&) = default;
CHTMLScanner& CHTMLScanner::operator=(const CHTMLScanner&) = default;
CHTMLScanner::~CHTMLScanner() = default;

bool CHTMLScanner::OpenFile(const std::string& path) {
    SFileStamp stamp;
    std::string data = ReadWhole(path, stamp);  // raises before anything changes

    std::string previous = std::move(m_strText);
    m_strText = std::move(data);
    try {
        RemoveOldCode();
    } catch (...) {
        m_strText = std::move(previous);
        throw;
    }
    m_stamp = stamp;
    m_strLoadedText = m_strText;
    m_strFilePath = path;
    m_nInsertionOffset = 0;
    m_bNewFile = false;
    return true;
}

bool CHTMLScanner::CreateFileA(const std::string& path) {
    m_strFilePath = path;
    m_strText.clear();
    m_nInsertionOffset = 0;
    m_bNewFile = true;
    return true;
}

bool CHTMLScanner::IsOpen(const std::string& path) const {
    return !m_strFilePath.empty() && !m_strLoadedText.empty() && m_strFilePath == path;
}

bool CHTMLScanner::Revert() {
    m_strText = m_strLoadedText;
    return true;
}

void CHTMLScanner::Close() {
    m_strText.clear();
    m_strFilePath.clear();
    m_strLoadedText.clear();
}

void CHTMLScanner::SetContent(const std::string& text) {
    m_strText = text;
}

int CHTMLScanner::SaveFile() {
    if (m_strFilePath.empty()) {
        throw ondrelo::CFileException::FromErrno(ENOENT, m_strFilePath, "write");
    }
    bool declined = false;
    auto mayReplace = [&]() {
        if (m_bNewFile) {
            return true;
        }
        // A loaded page must still be there: one that was deleted or moved
        // away meanwhile is not brought back under its old name.
        SFileStamp now;
        if (!CurrentStamp(m_strFilePath, now)) {
            throw ondrelo::CFileException::FromErrno(ENOENT, m_strFilePath, "open");
        }
        if (now == m_stamp) {
            return true;
        }
        if (ShowErrorMessage(errFileModified) == IDNO) {
            declined = true;
            return false;
        }
        return true;
    };
    const bool replaced = ondrelo::ReplaceFileAtomically(m_strFilePath, m_strText, mayReplace);
    if (declined || !replaced) {
        return 2;
    }
    SFileStamp now;
    if (CurrentStamp(m_strFilePath, now)) {
        m_stamp = now;
    }
    m_nInsertionOffset = 0;
    return 1;
}

int CHTMLScanner::ShowErrorMessage(ErrorCode code) {
    if (m_bMessagesDisabled) {
        m_nLastError = errFileModified;
        return IDNO;
    }
    if (code == errFileModified) {
        return CCommon::ShowMessageBox(kModifiedQuestion, nullptr, MB_YESNO | MB_ICONQUESTION);
    }
    return 0;
}

// ---- CHTMLScanner: scanning ------------------------------------------------------

namespace {

bool Search(const std::string& text, const std::string& tagName, SHtmlTag& tag, bool withContent,
            STagSearch& st, std::uint32_t base) {
    if (text.size() > std::numeric_limits<std::uint32_t>::max() - base) {
        ThrowTooLarge();
    }
    SFound f{};
    const bool found = IsPlainName(tagName) ? ScanPlain(text, tagName, withContent, st, f)
                                            : ScanRegex(text, tagName, withContent, st, f);
    if (!found) {
        return false;
    }
    SHtmlTag result;
    result.m_strTagName = tagName;
    result.m_nTagStart = static_cast<std::uint32_t>(f.tagStart) + base;
    result.m_nTagEnd = static_cast<std::uint32_t>(f.tagEnd) + base;
    result.m_nAttribTextStart = static_cast<std::uint32_t>(f.attrStart) + base;
    result.m_nAttribTextEnd = static_cast<std::uint32_t>(f.attrEnd) + base;
    if (withContent) {
        result.m_strContent = text.substr(f.contentStart, f.contentEnd - f.contentStart);
        result.m_nContentStart = static_cast<std::uint32_t>(f.contentStart) + base;
    }
    CollectRange(text.data() + f.attrStart, text.data() + f.attrEnd, result,
                 result.m_nAttribTextStart);
    tag = std::move(result);
    st.m_nFrom = static_cast<std::uint32_t>(f.tagEnd);
    return true;
}

}  // namespace

bool CHTMLScanner::SeparateTag(const std::string& text, const std::string& tagName, SHtmlTag& tag,
                               bool withContent, std::string& rest, std::uint32_t base) {
    STagSearch st;
    if (!Search(text, tagName, tag, withContent, st, base)) {
        return false;
    }
    rest.assign(text, st.m_nFrom, std::string::npos);
    return true;
}

bool CHTMLScanner::FindTag(const std::string& text, const std::string& tagName, SHtmlTag& tag,
                           bool withContent, STagSearch& search) {
    return Search(text, tagName, tag, withContent, search, 0);
}

bool CHTMLScanner::CollectAttributes(const std::string& attribText, SHtmlTag& tag,
                                     std::uint32_t base) {
    return CollectRange(attribText.data(), attribText.data() + attribText.size(), tag, base);
}

bool CHTMLScanner::RegExpMatch(const std::string& text, const std::string& pattern, int groupCount,
                               std::vector<std::string>& results) {
    results.clear();
    const auto re = CachedRegex(pattern, kScanFlags);
    boost::match_results<std::string::const_iterator> m;
    if (!SafeSearch(text.begin(), text.end(), m, *re, boost::match_default)) {
        return false;
    }
    for (int i = 0; i < groupCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        results.push_back(index < m.size() && m[index].matched ? m[index].str() : std::string());
    }
    return true;
}

// ---- CHTMLScanner: editing -------------------------------------------------------

std::string CHTMLScanner::GetModuleSignature() const {
    return "Ondrelo";
}

std::string CHTMLScanner::CreateSignature(bool start) const {
    if (start) {
        return "\n<!--" + GetModuleSignature() + "{-->\n";
    }
    return "\n<!--}" + GetModuleSignature() + "-->\n";
}

void CHTMLScanner::InsertSignature(std::string& code, int& added) const {
    const std::string start = CreateSignature(true);
    const std::string end = CreateSignature(false);
    code = start + code + end;
    added = static_cast<int>(start.size() + end.size());
}

void CHTMLScanner::InsertAt(std::uint32_t position, const std::string& code, bool marked,
                            bool absolute) {
    std::string text = code;
    if (marked) {
        int added = 0;
        InsertSignature(text, added);
    }
    std::int64_t pos = position;
    if (!absolute) {
        pos += m_nInsertionOffset;
    }
    pos = std::max<std::int64_t>(pos, 0);
    const std::size_t at = std::min(static_cast<std::size_t>(pos), m_strText.size());
    const std::size_t size = m_strText.size() + text.size();
    if (size <= m_strText.capacity()) {
        m_strText.insert(at, text);
    } else {
        // The page is copied once into a buffer with room for this code and
        // the few insertions that usually follow it, instead of growing the
        // buffer (and moving the page) again on each of them.
        std::string grown;
        grown.reserve(size + InsertionRoom(size));
        grown.append(m_strText, 0, at);
        grown += text;
        grown.append(m_strText, at, std::string::npos);
        m_strText.swap(grown);
    }
    m_nInsertionOffset += static_cast<int>(text.size());
}

void CHTMLScanner::Append(const std::string& code, bool marked) {
    if (marked) {
        std::string text = code;
        int added = 0;
        InsertSignature(text, added);
        m_strText += text;
    } else {
        m_strText += code;
    }
}

bool CHTMLScanner::Replace(std::uint32_t start, std::uint32_t end, const std::string& code) {
    const std::int64_t size = static_cast<std::int64_t>(m_strText.size());
    std::int64_t s = std::clamp<std::int64_t>(std::int64_t{start} + m_nInsertionOffset, 0, size);
    std::int64_t e = std::clamp<std::int64_t>(std::int64_t{end} + m_nInsertionOffset, 0, size);
    // The character at start is normally the blank that separates the range
    // from what stands before it, and stays after the code. Any other
    // character (an attribute directly after the tag name) belongs to the
    // range and is replaced with it, or it would stand stray after the code.
    const bool keepFirst = s < size && IsSpace(m_strText[static_cast<std::size_t>(s)]);
    const std::int64_t cut = keepFirst ? s + 1 : s;
    e = std::max(e, cut);
    m_strText.replace(static_cast<std::size_t>(cut), static_cast<std::size_t>(e - cut), "");
    m_strText.insert(static_cast<std::size_t>(s), code);
    m_nInsertionOffset += static_cast<int>(code.size()) - static_cast<int>(e - cut);
    return true;
}

bool CHTMLScanner::ReplaceStringWithCode(const std::string& placeholder, const std::string& code,
                                         bool marked) {
    if (m_strText.empty() || placeholder.empty()) {
        return false;
    }
    std::string text = code;
    if (marked) {
        int added = 0;
        InsertSignature(text, added);
    }
    std::size_t hit = m_strText.find(placeholder);
    if (hit == std::string::npos) {
        return false;
    }
    std::string result;
    result.reserve(m_strText.size() + text.size());
    std::size_t from = 0;
    for (; hit != std::string::npos; hit = m_strText.find(placeholder, from)) {
        result.append(m_strText, from, hit - from);
        result += text;
        from = hit + placeholder.size();
    }
    result.append(m_strText, from, std::string::npos);
    m_strText = std::move(result);
    return true;
}

namespace {

constexpr const char* kAfterBodyStep = "Inserting the code after the <body> tag failed: ";
constexpr const char* kInclusionStep = "Inserting the script file's inclusion line failed: ";
constexpr const char* kEmptyPage = "the page is empty.";

[[noreturn]] void ThrowInsertFailed(const char* step, const std::string& why) {
    COndException::ThrowOndException(step + why, kScanErrorCode);
    throw std::bad_alloc();  // the error object itself could not be made
}

}  // namespace

bool CHTMLScanner::InsertAfterBodyTag(const std::string& code) {
    if (m_strText.empty()) {
        ThrowInsertFailed(kAfterBodyStep, kEmptyPage);
    }
    // Only the start tag is looked for: the content is neither needed nor
    // copied, and a page that leaves out the optional </body> has its body
    // start there all the same.
    SHtmlTag body;
    STagSearch st;
    if (!FindTag(m_strText, "body", body, false, st)) {
        ThrowInsertFailed(kAfterBodyStep,
                          "the page has no complete <body> start tag outside comments and "
                          "scripts.");
    }
    InsertAt(body.m_nTagEnd, code, false, true);
    return true;
}

bool CHTMLScanner::InsertScriptInclusion(const std::string& line) {
    if (m_strText.empty()) {
        ThrowInsertFailed(kInclusionStep, kEmptyPage);
    }
    SHtmlTag tag;
    STagSearch head;
    std::uint32_t position = 0;
    bool found = FindTag(m_strText, "head", tag, true, head);
    if (found) {
        position = tag.m_nTagEnd;
    } else {
        // Without </head> the line goes before the body start tag, also at
        // the very start of a page that begins with it.
        STagSearch body;
        found = FindTag(m_strText, "body", tag, false, body);
        position = tag.m_nTagStart;
    }
    if (!found) {
        ThrowInsertFailed(kInclusionStep,
                          "the page has neither a </head> end tag nor a <body> start tag "
                          "outside comments and scripts.");
    }
    InsertAt(position, line, true, true);
    return true;
}

void CHTMLScanner::ScanOldCode(const std::string& /*block*/) {}

void CHTMLScanner::RemoveOldCode() {
    const std::string start = Trim(CreateSignature(true));
    const std::string end = Trim(CreateSignature(false));
    if (start.empty() || end.empty()) {
        return;
    }
    auto rtrim = [](std::string& s) {
        std::size_t n = s.size();
        while (n > 0 && IsSpace(s[n - 1])) {
            --n;
        }
        s.resize(n);
    };

    if (start.find('\n') != std::string::npos || end.find('\n') != std::string::npos) {
        // A marker with a line feed inside could be formed anew where two
        // pieces are joined, so search the joined text from its start each time.
        for (;;) {
            const std::size_t b = m_strText.find(start);
            if (b == std::string::npos) {
                return;
            }
            const std::size_t c = m_strText.find(end, b);
            if (c == std::string::npos) {
                return;  // a block that is never closed stays as it is
            }
            const std::size_t after = c + end.size();
            ScanOldCode(m_strText.substr(b, after - b));
            std::string before = m_strText.substr(0, b);
            rtrim(before);
            m_strText = before + "\n" + m_strText.substr(SkipSpace(m_strText, after));
        }
    }

    // The text before a found block holds no start marker, and none can arise
    // across the joining line feed, so searching on after each block finds the
    // same blocks as searching the joined text from its start. The blocks are
    // all found (and shown to ScanOldCode) first; the text is then compacted in
    // place, which cannot fail half-way.
    std::vector<std::pair<std::size_t, std::size_t>> blocks;  // start, just after the end
    std::size_t pos = 0;
    for (std::size_t b = FindText(m_strText, start, 0); b != std::string::npos;
         b = FindText(m_strText, start, pos)) {
        const std::size_t c = FindText(m_strText, end, b);
        if (c == std::string::npos) {
            break;  // a block that is never closed stays as it is
        }
        const std::size_t after = c + end.size();
        ScanOldCode(m_strText.substr(b, after - b));
        blocks.emplace_back(b, after);
        pos = SkipSpace(m_strText, after);
    }
    if (blocks.empty()) {
        return;
    }
    char* text = m_strText.data();
    std::size_t write = 0;
    std::size_t read = 0;
    for (const auto& [b, after] : blocks) {
        std::memmove(text + write, text + read, b - read);
        write += b - read;
        while (write > 0 && IsSpace(text[write - 1])) {
            --write;
        }
        text[write++] = '\n';
        read = SkipSpace(m_strText, after);
    }
    std::memmove(text + write, text + read, m_strText.size() - read);
    m_strText.resize(write + m_strText.size() - read);
}
