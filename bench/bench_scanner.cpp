// Cost of the HTML scanner on large pages: finding every link, the insertion
// step of a wizard (script inclusion, code after the body tag, save), the
// whole of it from opening the page, against reading and writing the file,
// and loading a page full of old marked blocks. Sizes are 1, 4 and 16 MB.
//
// Goal: the whole insertion (open, insert twice, save) costs at most twice
// what reading the page and writing it back costs.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ondrelo/HTMLScanner.h"

namespace fs = std::filesystem;

namespace {

// A page of about `bytes` bytes with one link per 500 bytes, a comment
// every 20 links and a script block every 50, each hiding a link of its own.
std::string MakePage(std::size_t bytes, int oldBlocks = 0) {
    std::string page =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\n<html>\n<head>\n"
        "\t<title>Benchmark</title>\n</head>\n<body bgcolor=white>\n";
    const std::string sentence =
        "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor "
        "incididunt ut labore et dolore magna aliqua. Ut enim ad minim veniam, quis nostrud "
        "exercitation ullamco laboris nisi ut aliquip ex ea commodo consequat. Duis aute irure "
        "dolor in reprehenderit in voluptate velit esse cillum dolore eu fugiat nulla pariatur. "
        "Excepteur sint occaecat cupidatat non proident, sunt in culpa qui officia. ";
    const std::string filler = sentence + sentence;
    const std::size_t blockEvery = oldBlocks > 0 ? bytes / static_cast<std::size_t>(oldBlocks) : 0;
    std::size_t nextBlock = blockEvery;
    for (int n = 0; page.size() < bytes; ++n) {
        const std::size_t start = page.size();
        page += "<p>";
        page += "<a href='page" + std::to_string(n) + ".html' target=_top>Link " +
                std::to_string(n) + "</a> ";
        if (n % 20 == 0) {
            page += "<!-- old link: <a href='gone.html'>gone</a> -->";
        }
        if (n % 50 == 0) {
            page += "<script>var s = \"<a href='x'>x</a>\";</script>";
        }
        page.append(filler, 0, 500 - std::min<std::size_t>(500, page.size() - start + 5));
        page += "</p>\n";
        if (blockEvery > 0 && page.size() >= nextBlock) {
            page +=
                "\n<!--Ondrelo{-->\n<SCRIPT src='old.js' language='JavaScript'></SCRIPT>"
                "\n<!--}Ondrelo-->\n";
            nextBlock += blockEvery;
        }
    }
    page += "</body>\n</html>\n";
    return page;
}

class CTempDir {
public:
    CTempDir() {
        char tmpl[] = "/tmp/ondrelo-bench-XXXXXX";
        m_path = ::mkdtemp(tmpl);
    }
    ~CTempDir() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    fs::path File(const std::string& name) const { return m_path / name; }

private:
    fs::path m_path;
};

void WriteFile(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::size_t Megabytes(const benchmark::State& state) {
    return static_cast<std::size_t>(state.range(0)) << 20;
}

// (a) Every `a` element, opening to closing tag, in page order.
void BM_FindEveryLink(benchmark::State& state) {
    const std::string page = MakePage(Megabytes(state));
    CHTMLScanner scanner;
    std::size_t links = 0;
    for (auto _ : state) {
        STagSearch search;
        SHtmlTag tag;
        links = 0;
        while (scanner.FindTag(page, "a", tag, true, search)) {
            ++links;
        }
        benchmark::DoNotOptimize(links);
    }
    state.counters["links"] = static_cast<double>(links);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
    state.SetComplexityN(static_cast<std::int64_t>(page.size()));
}

// (b) The insertion step of a wizard on an open page.
void BM_InsertAndSave(benchmark::State& state) {
    CTempDir dir;
    const fs::path file = dir.File("page.html");
    WriteFile(file, MakePage(Megabytes(state)));
    CHTMLScanner scanner;
    scanner.DisableErrorMessages(true);
    scanner.OpenFile(file.string());
    for (auto _ : state) {
        scanner.Revert();
        if (!scanner.InsertScriptInclusion(
                "<SCRIPT src='gen_validatorv3.js' language='JavaScript'></SCRIPT>") ||
            !scanner.InsertAfterBodyTag("<form name='f'></form>") || scanner.SaveFile() != 1) {
            state.SkipWithError("insertion failed");
            break;
        }
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * scanner.GetLoadedText().size()));
    state.SetComplexityN(static_cast<std::int64_t>(scanner.GetLoadedText().size()));
}

// (c) The whole insertion of a wizard into a page on disk: open it, insert
// the script inclusion and the code after the body tag, save it.
void BM_OpenInsertSave(benchmark::State& state) {
    CTempDir dir;
    const fs::path file = dir.File("page.html");
    const std::string page = MakePage(Megabytes(state));
    WriteFile(file, page);
    CHTMLScanner scanner;
    scanner.DisableErrorMessages(true);
    for (auto _ : state) {
        scanner.OpenFile(file.string());
        if (!scanner.InsertScriptInclusion(
                "<SCRIPT src='gen_validatorv3.js' language='JavaScript'></SCRIPT>") ||
            !scanner.InsertAfterBodyTag("<form name='f'></form>") || scanner.SaveFile() != 1) {
            state.SkipWithError("insertion failed");
            break;
        }
        scanner.Close();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

// (d) What (c) is measured against: reading the page into memory and
// writing it back to disk, flushed as a save flushes it.
void BM_ReadAndWrite(benchmark::State& state) {
    CTempDir dir;
    const fs::path file = dir.File("page.html");
    const fs::path copy = dir.File("copy.html");
    const std::string page = MakePage(Megabytes(state));
    WriteFile(file, page);
    for (auto _ : state) {
        const int in = ::open(file.c_str(), O_RDONLY);
        std::string bytes(page.size(), '\0');
        std::size_t have = 0;
        for (ssize_t got = 0; have < bytes.size(); have += static_cast<std::size_t>(got)) {
            got = ::read(in, bytes.data() + have, bytes.size() - have);
            if (got <= 0) {
                break;
            }
        }
        ::close(in);
        const int out = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool written = ::write(out, bytes.data(), have) == static_cast<ssize_t>(have) &&
                             ::fsync(out) == 0;
        ::close(out);
        if (have != page.size() || !written) {
            state.SkipWithError("reading or writing failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

// (e) Loading a page that carries 100 blocks of an earlier insertion.
void BM_OpenWithOldBlocks(benchmark::State& state) {
    CTempDir dir;
    const fs::path file = dir.File("page.html");
    const std::string page = MakePage(Megabytes(state), 100);
    WriteFile(file, page);
    CHTMLScanner scanner;
    for (auto _ : state) {
        scanner.OpenFile(file.string());
        benchmark::DoNotOptimize(scanner.GetText().data());
    }
    if (scanner.GetText().find("<!--Ondrelo{-->") != std::string::npos) {
        state.SkipWithError("old blocks left in the page");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
    state.SetComplexityN(static_cast<std::int64_t>(page.size()));
}

}  // namespace

BENCHMARK(BM_FindEveryLink)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_InsertAndSave)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_OpenInsertSave)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndWrite)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenWithOldBlocks)
    ->Arg(1)
    ->Arg(4)
    ->Arg(16)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

BENCHMARK_MAIN();
