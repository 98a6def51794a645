// One HTML document in memory: tag search that skips comments and script
// blocks, editing of the working text, the signature markers around inserted
// code, and saving with a check that nobody changed the file meanwhile.
#pragma once

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
    std::int64_t size = -1;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const SFileStamp&) const = default;
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
    int SaveFile();
    void DisableErrorMessages(bool disable) { m_bMessagesDisabled = disable; }
    ErrorCode GetLastError() const { return m_nLastError; }
    virtual int ShowErrorMessage(ErrorCode code);

    // Scanning.
    bool SeparateTag(const std::string& text, const std::string& tagName, SHtmlTag& tag,
                     bool withContent, std::string& rest, std::uint32_t base = 0);
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
    bool InsertAfterBodyTag(const std::string& code);
    bool InsertScriptInclusion(const std::string& line);
    virtual void ScanOldCode(const std::string& block);
    virtual void RemoveOldCode();

    int GetInsertionOffset() const { return m_nInsertionOffset; }

protected:
    std::string m_strText;        // working text
    std::string m_strLoadedText;  // as loaded, old blocks removed
    std::string m_strFilePath;
    SFileStamp m_stamp;           // of the file when loaded or last saved
    int m_nInsertionOffset = 0;
    bool m_bNewFile = false;
    bool m_bMessagesDisabled = false;
    ErrorCode m_nLastError = errNone;
};
