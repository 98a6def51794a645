// One HTML document in memory: tag search that skips comments and script
// blocks, editing of the working text, the signature markers around inserted
// code, and saving with a check that nobody changed the file meanwhile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ondrelo/commoncore_export.h"

struct ONDCORE_EXPORT STagAttribute {
    std::string m_strName;
    std::string m_strValue;
    std::uint32_t m_nStart = 0;  // first character of the match (white space before the name)
    std::uint32_t m_nEnd = 0;    // just after the match
};

struct ONDCORE_EXPORT SHtmlTag {
    std::string m_strTagName;  // the name that was searched for
    std::string m_strContent;  // between opening and closing tag (search with content)
    std::vector<STagAttribute> m_Attributes;
    std::uint32_t m_nTagStart = 0;
    std::uint32_t m_nTagEnd = 0;
    std::uint32_t m_nContentStart = 0;
    std::uint32_t m_nAttribTextStart = 0;
    std::uint32_t m_nAttribTextEnd = 0;

    int AddAttribute(const STagAttribute& attribute);
    // Value of the first attribute named so (trimmed, any case); empty if none.
    std::string GetAttribValue(const std::string& name) const;
    bool DoesExist(const std::string& name) const;
    // Index of the first attribute named exactly so (any case, not trimmed), or -1.
    int GetAttributeInfo(const std::string& name, std::string& value, std::uint32_t& start,
                         std::uint32_t& end) const;
    void Clear();
};

// A time stamp of a file, compared as a whole at save time.
struct SFileStamp {
    std::int64_t birthTimeNs = 0;  // creation time where the file system records one, else 0
    std::int64_t writeTimeNs = 0;  // last modification time
    // Last status change: moves with every write and with every setting of
    // the modification time, so a program that writes in place and puts the
    // time back is still noticed.
    std::int64_t changeTimeNs = 0;
    std::int64_t size = -1;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const SFileStamp&) const = default;
};

// Where a run of tag searches in one unchanged text has got to. Besides the
// position it keeps what earlier searches learnt about the text (a comment,
// script block or element that is never closed), so that finding every tag
// of a large page takes one pass. Start a new one when the text changes.
struct ONDCORE_EXPORT STagSearch {
    std::uint32_t m_nFrom = 0;  // where the next search starts; set to the tag end on success

    // No "-->", no closing script tag, no closing tag of m_strClosingName
    // starts at or after these positions.
    std::size_t m_nNoCommentEndFrom = static_cast<std::size_t>(-1);
    std::size_t m_nNoScriptEndFrom = static_cast<std::size_t>(-1);
    std::size_t m_nNoClosingTagFrom = static_cast<std::size_t>(-1);
    std::string m_strClosingName;
};

class ONDCORE_EXPORT CHTMLScanner {
public:
    enum ErrorCode { errNone = 0, errFileModified = 1 };

    CHTMLScanner();
    CHTMLScanner(const CHTMLScanner&);
    CHTMLScanner& operator=(const CHTMLScanner&);
    virtual ~CHTMLScanner();

    // Document.
    virtual bool OpenFile(const std::string& path);  // raises ondrelo::CFileException
    bool CreateFileA(const std::string& path);
    bool IsOpen(const std::string& path) const;
    bool Revert();
    virtual void Close();
    void SetContent(const std::string& text);
    const std::string& GetText() const { return m_strText; }
    const std::string& GetLoadedText() const { return m_strLoadedText; }
    std::string GetFilePath() const { return m_strFilePath; }
    // 1 = written, 2 = not written (the user declined to overwrite a changed file).
    // Raises ondrelo::CFileException when the page cannot be written, or when
    // a loaded page is no longer there; the old page is then left as it was.
    int SaveFile();
    void DisableErrorMessages(bool disable) { m_bMessagesDisabled = disable; }
    ErrorCode GetLastError() const { return m_nLastError; }
    virtual int ShowErrorMessage(ErrorCode code);

    // Scanning. SeparateTag finds the first tag of that name outside comments
    // and script blocks; the name must stand whole ("a" does not find <abbr>).
    // Positions are offsets into text plus base; rest is the text after the
    // match. A page the expression engine gives up on raises COndException*
    // (code 1003); a tag name that is not a valid expression, boost::regex_error.
    bool SeparateTag(const std::string& text, const std::string& tagName, SHtmlTag& tag,
                     bool withContent, std::string& rest, std::uint32_t base = 0);
    // Like SeparateTag, but searches the text in place from search.m_nFrom;
    // positions are offsets into the text. On success search.m_nFrom is set to
    // the tag end, so calling again finds the next occurrence.
    bool FindTag(const std::string& text, const std::string& tagName, SHtmlTag& tag,
                 bool withContent, STagSearch& search);
    bool CollectAttributes(const std::string& attribText, SHtmlTag& tag, std::uint32_t base);
    bool RegExpMatch(const std::string& text, const std::string& pattern, int groupCount,
                     std::vector<std::string>& results);

    // Editing.
    virtual std::string GetModuleSignature() const;
    std::string CreateSignature(bool start) const;
    void InsertSignature(std::string& code, int& added) const;
    void InsertAt(std::uint32_t position, const std::string& code, bool marked, bool absolute);
    void Append(const std::string& code, bool marked);
    bool Replace(std::uint32_t start, std::uint32_t end, const std::string& code);
    bool ReplaceStringWithCode(const std::string& placeholder, const std::string& code,
                               bool marked);
    // The two insertions at a found place return true, or raise COndException*
    // (code 1003) whose text says which step failed and why; the page text is
    // then unchanged. The code goes directly after the body start tag, also
    // when the page leaves out the optional </body>.
    bool InsertAfterBodyTag(const std::string& code);
    // The line, marked, goes after </head>, or without one before the body
    // start tag.
    bool InsertScriptInclusion(const std::string& line);
    virtual void ScanOldCode(const std::string& block);
    virtual void RemoveOldCode();

    int GetInsertionOffset() const { return m_nInsertionOffset; }

protected:
    std::string m_strText;        // working text
    std::string m_strLoadedText;  // as loaded, old blocks removed
    std::string m_strFilePath;
    SFileStamp m_stamp;  // of the file when loaded or last saved
    int m_nInsertionOffset = 0;
    bool m_bNewFile = false;
    bool m_bMessagesDisabled = false;
    ErrorCode m_nLastError = errNone;
};
