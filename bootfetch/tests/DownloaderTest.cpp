#include "download/Downloader.h"

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwctype>
#include <ctime>
#include <filesystem>
#include <random>
#include <thread>

#include "FileHandle.h"
#include "download/PackageFile.h"
#include "PathUtils.h"
#include "TempDir.h"
#include "TestServer.h"
#include "TestTexts.h"
#include "download/MessageTexts.h"
#include "download/RetrySchedule.h"
#include "Translator.h"
#include "WaitUntil.h"
#include "WinInetDouble.h"

namespace {

// What the error box would say; empty when there is none.
std::wstring ErrorText(const CDownloader& downloader) {
  return DownloadErrorText(downloader.GetOutcome());
}

const DWORD kLongerThanFinishMs = 120000;
const DWORD kShortTimeoutMs = 2000;
const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The SHA-256 of the server's 5000-byte body.
const std::wstring kDigest5000 =
    L"69dbee893909fa17d1be397e0c07691336fe42049c29d403467d3d4a1fc3b5a1";

// Polls the way the dialog's timer does; false when the worker never ends.
bool Finish(CDownloader& downloader) {
  return WaitUntil([&downloader] { return !downloader.IsDownloading(); }, 60000);
}

bool WaitForBytes(const CDownloader& downloader) {
  return WaitUntil([&downloader] { return downloader.GetProgress() > 0; }, 30000);
}

// Every test downloads into a temporary folder of its own, so that a
// leftover package shows, and ends without a catalogue installed.
class DownloaderTest : public ::testing::Test {
 protected:
  void SetUp() override { TakeRequestLog(); }
  void TearDown() override {
    libi18n::SetTranslator(boost::shared_ptr<libi18n::CMessageTranslator>());
  }

  // Whatever the downloads left in the temporary folder.
  std::vector<std::wstring> LeftoverFiles() const {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path()))
      names.push_back(entry.path().filename().wstring());
    return names;
  }
  // A worker left behind in a stalled read closes, and so removes, its file
  // only once the server goes on.
  bool LeftoverCountBecomes(std::size_t count) const {
    return WaitUntil([this, count] { return LeftoverFiles().size() == count; }, 10000);
  }
  void ExpectFailedWithoutFile(CDownloader& downloader) {
    EXPECT_FALSE(downloader.IsDownloading());
    EXPECT_EQ(Narrow(kDownloadErrorText), Narrow(ErrorText(downloader)));
    const std::vector<std::wstring> files = LeftoverFiles();
    EXPECT_TRUE(files.empty()) << Narrow(files.empty() ? L"" : files.front());
  }
  void ExpectPackage(const CDownloader& downloader, std::size_t size) {
    ExpectBody(downloader, PatternBody(size));
  }
  void ExpectBody(const CDownloader& downloader, const std::string& body) {
    EXPECT_EQ("", Narrow(ErrorText(downloader)));
    EXPECT_EQ(1.0, downloader.GetProgress());
    EXPECT_TRUE(body == ReadBytes(downloader.GetFilePath())) << "file differs from the body sent";
    // Held as the shell's launch finds it: the installer's open, for reading
    // and denying writers, shares it, and writers stay out.
    const wchar_t* const path = downloader.GetFilePath().c_str();
    CFileHandle installer, writer;
    EXPECT_TRUE(installer.Create(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0));
    EXPECT_FALSE(writer.Create(path, GENERIC_WRITE, kShareAll, OPEN_EXISTING, 0));
  }

  CTempDir m_dir;
  CTempOverride m_tmp{m_dir.Path() + L"\\"};
};

TEST_F(DownloaderTest, RefusedUrlsFailWithoutTraffic) {
  const wchar_t* const urls[] = {L"", L"https://127.0.0.1/file/100", L"ftp://127.0.0.1/file/100",
                                 L"http:///file/100", L"127.0.0.1/file/100"};
  for (const wchar_t* url : urls) {
    SCOPED_TRACE(Narrow(url));
    CDownloader downloader;
    downloader.Start(url);
    ASSERT_TRUE(Finish(downloader));
    ExpectFailedWithoutFile(downloader);
  }
  EXPECT_TRUE(TakeRequestLog().empty());
}

TEST_F(DownloaderTest, ServerFaultsFailAndLeaveNoFile) {
  const wchar_t* const paths[] = {
      L"/status/404/100",
      L"/status/500/100",
      L"/status/206/100",
      L"/chunked/5000",              // no Content-Length
      L"/close/5000",                // no Content-Length
      L"/short/5000/3000",           // closed early
      L"/short/5000/0",              // closed before the body
      L"/chunked-length/5000/3000",  // ended early
      L"/chunked-length/1000/5000",  // runs past the length
      L"/length/abc/100",
      L"/length/12abc/12",
      L"/length/-5/100",
      L"/length/3000000000/100",
      L"/length/2147483647/100",  // what every length of 2 GiB or more is clamped to
      L"/redirect/-1",            // followed to an unusable answer
  };
  for (const wchar_t* path : paths) {
    SCOPED_TRACE(Narrow(path));
    CDownloader downloader;
    downloader.Start(kServer + std::wstring(path));
    ASSERT_TRUE(Finish(downloader));
    ExpectFailedWithoutFile(downloader);
  }
}

// The server holds the rest of the body back: only a downloader that stops
// at the announced length can finish. Ten bytes too many fit in one read
// that asks for more than what remains.
TEST_F(DownloaderTest, BodyPastTheLengthFailsWithoutWaitingForItsEnd) {
  for (const wchar_t* path :
       {L"/chunked-length/1000/3000/0/stall", L"/chunked-length/1000/1010/0/stall"}) {
    SCOPED_TRACE(Narrow(path));
    // Longer than Finish waits: only the length check can end the attempt.
    CDownloader downloader(kLongerThanFinishMs);
    downloader.Start(kServer + std::wstring(path));
    const bool finished = Finish(downloader);
    ReleaseStall();
    ASSERT_TRUE(finished);
    ExpectFailedWithoutFile(downloader);
  }
}

// A server that stays silent in any phase fails the attempt once the
// time-out passes, instead of holding it for ever.
TEST_F(DownloaderTest, SilentServerFailsAfterTheTimeout) {
  const std::wstring urls[] = {
      kSilentHost + std::wstring(L"/never-accepted.msi"),
      kServer + std::wstring(L"/silent/no-headers.msi"),
      kServer + std::wstring(L"/stall/8192/1024/no-more-body.msi"),
  };
  for (const std::wstring& url : urls) {
    SCOPED_TRACE(Narrow(url));
    CDownloader downloader(kShortTimeoutMs);
    downloader.Start(url);
    const bool finished = Finish(downloader);
    ReleaseStall();
    ASSERT_TRUE(finished);
    ExpectFailedWithoutFile(downloader);
  }
}

TEST_F(DownloaderTest, DownloadsByteIdenticalFile) {
  const struct {
    const wchar_t* path;
    std::size_t size;
  } cases[] = {
      {L"/file/0", 0},           {L"/file/1", 1},       {L"/file/1023", 1023},
      {L"/file/1024", 1024},     {L"/file/1025", 1025}, {L"/file/300000", 300000},
      {L"/redirect/3000", 3000},  // WinInet follows it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.path));
    CDownloader downloader;
    downloader.Start(kServer + std::wstring(c.path));
    ASSERT_TRUE(Finish(downloader));
    ExpectPackage(downloader, c.size);
    // Released, the file is the user's: nothing of ours holds it.
    downloader.ReleasePackage();
    EXPECT_TRUE(DeleteFileW(downloader.GetFilePath().c_str())) << GetLastError();
  }
}

TEST_F(DownloaderTest, SendsOneGetWithAgentToPort80WhateverTheUrlSays) {
  CDownloader downloader;
  downloader.Start(L"http://127.0.0.1:8080/file/2000");
  ASSERT_TRUE(Finish(downloader));
  ExpectPackage(downloader, 2000);
  const std::vector<CRequestRecord> log = TakeRequestLog();
  ASSERT_EQ(1u, log.size());
  EXPECT_EQ("80", log[0].port);
  EXPECT_EQ("GET", log[0].method);
  EXPECT_EQ("/file/2000", log[0].path);
  EXPECT_EQ("setup_downloader", log[0].agent);
}

// The body would take 50 s: the server sees the client go away only if the
// cancel ends the transfer.
TEST_F(DownloaderTest, CancelDuringDownloadEndsTheTransferAndDeletesPartialFile) {
  const int abandoned = AbandonedAnswers();
  CDownloader downloader;
  downloader.Start(kServer + std::wstring(L"/slow/2560000/20"));
  ASSERT_TRUE(WaitForBytes(downloader));
  ASSERT_EQ(1u, LeftoverFiles().size());
  downloader.Cancel();
  EXPECT_TRUE(LeftoverCountBecomes(0));
  EXPECT_TRUE(WaitUntil([abandoned] { return AbandonedAnswers() == abandoned + 1; }, 10000))
      << "the transfer went on";
}

// The server holds the body back until released, for far longer than the
// test waits: a cancel that waited out the read would find it released, and
// a worker still in the read would still hold the file.
TEST_F(DownloaderTest, CancelEndsAStalledRead) {
  CDownloader downloader;
  downloader.Start(kServer + std::wstring(L"/stall/8192/1024"));
  ASSERT_TRUE(WaitForBytes(downloader));
  // Nobody else writes the package while it is being fetched.
  CFileHandle writer;
  EXPECT_FALSE(
      writer.Create(downloader.GetFilePath().c_str(), GENERIC_WRITE, kShareAll, OPEN_EXISTING, 0));
  downloader.Cancel();
  EXPECT_EQ(1, StalledBodies()) << "the cancel waited for the server";
  EXPECT_TRUE(LeftoverCountBecomes(0)) << "the worker is still in the read";
  ReleaseStall();
}

// A new attempt while one runs: the stopped one's partial file goes, however
// the new one ends.
TEST_F(DownloaderTest, NewAttemptRemovesTheStoppedOnesPartialFile) {
  const struct {
    const wchar_t* url;
    std::size_t files;
  } cases[] = {
      {L"https://127.0.0.1/file/100", 0},  // fails before it creates a file
      {L"http://127.0.0.1/file/100", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.url));
    CDownloader downloader;
    downloader.Start(kServer + std::wstring(L"/stall/8192/1024"));
    ASSERT_TRUE(WaitForBytes(downloader));
    downloader.Start(c.url);
    ReleaseStall();
    ASSERT_TRUE(Finish(downloader));
    EXPECT_TRUE(LeftoverCountBecomes(c.files));
  }
}

// Each run must fetch the package itself, even when the server lets caches
// keep it, and leave no copy of it in WinInet's cache.
TEST_F(DownloaderTest, FetchesPastTheCacheAndStoresNothingThere) {
  const std::wstring url = kServer + std::wstring(L"/cacheable/3000/") +
                           std::to_wstring(GetTickCount()) + L"/package.msi";
  for (std::size_t shift = 0; shift < 2; ++shift) {
    SCOPED_TRACE(shift);
    CDownloader downloader;
    downloader.Start(url);
    ASSERT_TRUE(Finish(downloader));
    EXPECT_EQ("", Narrow(ErrorText(downloader)));
    EXPECT_TRUE(PatternBody(3000 + shift).substr(shift) == ReadBytes(downloader.GetFilePath()))
        << "not the server's answer to this request";
    downloader.Cancel();
  }
  EXPECT_EQ(2u, TakeRequestLog().size());
  DWORD size = 0;
  EXPECT_FALSE(GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError()) << "cached";
}

// Every /resume body breaks off after 3000 of 5000 bytes at first. A retry
// asks for the rest, into the same file, only where the first answer offered
// byte ranges with a validator, and keeps the rest only when it is exactly
// the missing part of the same file; otherwise the part goes, and the retry
// after is a plain GET. A link that slows down is not silence, however
// large the reads were while it was fast. The retry schedule then goes on by
// itself, or asks (the error box), as the dialog does; a /drops body breaks
// off after every 1500 bytes, and vanish answers nothing after its first.
TEST_F(DownloaderTest, BrokenBodiesResumeOnlyFromTheSameFile) {
  const char kRest[] = "bytes=3000-";
  const char kTag[] = "\"{KEY}-0\"";
  const RetryAction kGoesOn = RetryAction::kResume;
  const RetryAction kAsks = RetryAction::kAsk;
  const RetryAction kDone = RetryAction::kNone;
  struct CAttempt {
    const char* range;  // the Range header it sends
    bool finishes;      // with the whole package
    RetryAction then;   // as the schedule decides
  };
  const std::vector<CAttempt> resumes = {{"", false, kGoesOn}, {kRest, true, kDone}};
  const std::vector<CAttempt> restarts = {{"", false, kAsks}, {"", true, kDone}};
  const std::vector<CAttempt> refused = {
      {"", false, kGoesOn}, {kRest, false, kAsks}, {"", true, kDone}};
  const std::vector<CAttempt> drops = {{"", false, kGoesOn},
                                       {"bytes=1500-", false, kGoesOn},
                                       {"bytes=3000-", false, kGoesOn},
                                       {"bytes=4500-", true, kDone}};
  const std::vector<CAttempt> vanishes = {{"", false, kGoesOn},
                                          {kRest, false, kGoesOn},
                                          {kRest, false, kGoesOn},
                                          {kRest, false, kAsks}};
  const struct {
    std::string path;  // "{KEY}" stands for a key of the row's own
    const char* ifRange;
    std::vector<CAttempt> attempts;
    std::size_t size, shift;  // of the final body
  } rows[] = {
      {"/throttle/270000/262144/400", "", {{"", true, kDone}}, 270000, 0},
      // Headers after 1.5 s, the body 1.5 s later: within the time-out only
      // if the clock starts again at the headers.
      {"/late/5000/1500", "", {{"", true, kDone}}, 5000, 0},
      {"/resume/etag/5000/3000/{KEY}", kTag, resumes, 5000, 0},
      {"/resume/etag/5000/3000/{KEY}#sha256=" + Narrow(kDigest5000), kTag, resumes, 5000, 0},
      {"/resume/dated/5000/3000/{KEY}", "Mon, 07 Dec 2026 12:00:00 GMT", resumes, 5000, 0},
      {"/resume/republished/5000/3000/{KEY}", kTag, resumes, 5000, 1},
      {"/resume/ignored/5000/3000/{KEY}", kTag, resumes, 5000, 0},
      {"/resume/weak/5000/3000/{KEY}", "", restarts, 5000, 0},
      {"/resume/weak-dated/5000/3000/{KEY}", "", restarts, 5000, 0},
      {"/resume/shrunk/5000/3000/{KEY}", kTag, resumes, 2500, 0},
      {"/resume/none/5000/3000/{KEY}", "", restarts, 5000, 0},  // no ranges: asks at once
      {"/resume/bad-range/5000/3000/{KEY}", kTag, refused, 5000, 0},
      {"/resume/416/5000/3000/{KEY}", kTag, refused, 5000, 0},
      {"/drops/ranges/6000/1500/{KEY}", "\"{KEY}\"", drops, 6000, 0},
      {"/drops/vanish/5000/3000/{KEY}", "\"{KEY}\"", vanishes, 5000, 0},  // three empty tries
  };
  for (const auto& row : rows) {
    const std::string key = "k" + std::to_string(GetTickCount());
    const std::string path = ReplaceKey(row.path, key);
    SCOPED_TRACE(path);
    CDownloader downloader(kShortTimeoutMs);
    CRetrySchedule schedule;
    std::wstring kept;
    for (std::size_t i = 0; i < row.attempts.size(); ++i) {
      SCOPED_TRACE(i);
      const CAttempt& attempt = row.attempts[i];
      const bool resumed = *attempt.range != '\0';
      downloader.Start(kServer + std::wstring(path.begin(), path.end()));
      if (resumed) {
        EXPECT_GE(downloader.GetProgress(), 0.25) << "the bar starts at the kept part";
      }
      ASSERT_TRUE(Finish(downloader));
      const std::vector<CRequestRecord> log = TakeRequestLog();
      ASSERT_EQ(1u, log.size());
      EXPECT_EQ(attempt.range, log[0].range);
      EXPECT_EQ(resumed ? ReplaceKey<std::string>(row.ifRange, key) : "", log[0].ifRange);
      EXPECT_EQ("no-cache", log[0].cacheControl) << "a cache on the way may answer";
      EXPECT_EQ("no-cache", log[0].pragma) << "an HTTP/1.0 cache on the way may answer";
      EXPECT_EQ(attempt.then, schedule.After(downloader.GetOutcome(), 0).action)
          << Narrow(downloader.GetOutcome().step);
      if (attempt.finishes) {
        ExpectBody(downloader, PatternBody(row.size + row.shift).substr(row.shift));
        if (resumed) {
          EXPECT_EQ(Narrow(kept), Narrow(downloader.GetFilePath()));
        }
        break;
      }
      EXPECT_EQ(Narrow(kDownloadErrorText), Narrow(ErrorText(downloader)));
      const bool keeps = i + 1 == row.attempts.size() || *row.attempts[i + 1].range != '\0';
      EXPECT_EQ(keeps ? 1u : 0u, LeftoverFiles().size()) << "whether the part stays";
      kept = downloader.GetFilePath();
    }
    downloader.Cancel();
    EXPECT_TRUE(LeftoverFiles().empty());
  }
}

// The fragment is the caller's and never sent. A pin lets only the pinned
// body through; a pin that cannot be checked refuses the URL before any
// traffic.
TEST_F(DownloaderTest, PinsAndFragments) {
  const std::wstring& digest = kDigest5000;
  std::wstring upper = digest;
  for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
  const struct {
    const char* name;
    std::wstring fragment;
    bool downloads;
    bool requested;
  } rows[] = {
      {"pin", L"#sha256=" + digest, true, true},
      {"pin in upper case", L"#SHA256=" + upper, true, true},
      {"another body's pin", L"#sha256=" + std::wstring(64, L'0'), false, true},
      {"pin too short", L"#sha256=" + digest.substr(2), false, false},
      {"pin not hexadecimal", L"#sha256=" + digest.substr(1) + L"x", false, false},
      {"another hash", L"#sha1=" + digest.substr(0, 40), false, false},
      {"plain fragment", L"#details", true, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CDownloader downloader;
    downloader.Start(kServer + std::wstring(L"/file/5000") + row.fragment);
    ASSERT_TRUE(Finish(downloader));
    if (row.downloads) {
      ExpectPackage(downloader, 5000);
      downloader.Cancel();
    } else {
      ExpectFailedWithoutFile(downloader);
    }
    const std::vector<CRequestRecord> log = TakeRequestLog();
    ASSERT_EQ(row.requested ? 1u : 0u, log.size());
    if (row.requested) {
      EXPECT_EQ("/file/5000", log[0].path);
    }
  }
}

// Marked or not, a package file stays only once kept, and a discarded one
// goes; an unmarked one that is only closed stays, which is why every
// failure discards.
TEST_F(DownloaderTest, PackageFilesStayOnlyWhenKept) {
  const struct {
    DeletionMark wanted;
    bool keep, discard, stays;
  } rows[] = {
      {DeletionMark::kOnClose, false, false, false}, {DeletionMark::kOnClose, true, false, true},
      {DeletionMark::kOnClose, true, true, false},   {DeletionMark::kNone, false, false, true},
      {DeletionMark::kNone, true, true, false},      {DeletionMark::kNone, false, true, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(static_cast<int>(row.wanted)) + (row.keep ? " kept" : "") +
                 (row.discard ? " discarded" : ""));
    CPackageFile file;
    ASSERT_TRUE(file.Create(row.wanted));
    DWORD written = 0;
    ASSERT_TRUE(file.Write("package", 7, written));
    EXPECT_TRUE(!row.keep || file.Keep());
    const std::wstring path = file.Path();
    if (row.discard)
      file.Discard();
    else
      file.Release();
    EXPECT_EQ(row.stays ? "package" : "", ReadBytes(path));
    DeleteFileW(path.c_str());
  }
}

TEST_F(DownloaderTest, CancelAfterFinishDeletesPackage) {
  CDownloader downloader;
  downloader.Start(kServer + std::wstring(L"/file/3000"));
  ASSERT_TRUE(Finish(downloader));
  ASSERT_TRUE(FileExists(downloader.GetFilePath()));
  downloader.Cancel();
  EXPECT_EQ("", Narrow(ErrorText(downloader)));
  EXPECT_TRUE(LeftoverFiles().empty());
}

TEST_F(DownloaderTest, RetryStartsFromZero) {
  CDownloader downloader;
  downloader.Start(kServer + std::wstring(L"/short/5000/3000"));
  ASSERT_TRUE(Finish(downloader));
  ASSERT_FALSE(ErrorText(downloader).empty());

  downloader.Start(kServer + std::wstring(L"/stall/5000/0"));
  // The file exists once the headers are in; the server holds the body back.
  ASSERT_TRUE(LeftoverCountBecomes(1));
  EXPECT_EQ(0.0, downloader.GetProgress());
  ReleaseStall();
  ASSERT_TRUE(Finish(downloader));
  ExpectPackage(downloader, 5000);
  EXPECT_EQ(1u, LeftoverFiles().size());
}

TEST_F(DownloaderTest, FailedRetryKeepsFinishedPackage) {
  CDownloader downloader;
  downloader.Start(kServer + std::wstring(L"/file/100"));
  ASSERT_TRUE(Finish(downloader));
  const std::wstring finished = downloader.GetFilePath();
  downloader.Start(L"https://127.0.0.1/file/100");
  ASSERT_TRUE(Finish(downloader));
  EXPECT_EQ(Narrow(kDownloadErrorText), Narrow(ErrorText(downloader)));
  EXPECT_TRUE(FileExists(finished));
}

TEST_F(DownloaderTest, ErrorTextComesFromCatalogueOrIsTheBuiltInOne) {
  const std::wstring custom = m_dir / L"custom.xml";
  const std::wstring other = m_dir / L"other.xml";
  const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><language><messages>";
  WriteFile(custom,
            head + "<message id=\"IDS_DOWNLOADER_ERROR\">Custom</message></messages></language>");
  WriteFile(other, head + "<message id=\"Cancel\">Cancel</message></messages></language>");
  const struct {
    std::wstring catalogue, expected;
  } cases[] = {
      {L"", kDownloadErrorText},  // no translator installed
      {custom, L"Custom"},
      {other, kDownloadErrorText},  // a catalogue without the message
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.catalogue));
    boost::shared_ptr<libi18n::CMessageTranslator> translator;
    if (!c.catalogue.empty()) {
      translator = libi18n::CreateTranslator(c.catalogue);
      ASSERT_TRUE(translator);
    }
    libi18n::SetTranslator(translator);
    CDownloader downloader;
    downloader.Start(L"https://127.0.0.1/file/100");
    ASSERT_TRUE(Finish(downloader));
    EXPECT_EQ(Narrow(c.expected), Narrow(ErrorText(downloader)));
  }
}

// Success exactly when the body has the announced length.
TEST_F(DownloaderTest, RandomlyCutOrPaddedBodies) {
  const char* const fixedSeed = std::getenv("DOWNLOADER_TEST_SEED");
  const unsigned seed =
      fixedSeed ? std::strtoul(fixedSeed, nullptr, 10) : static_cast<unsigned>(std::time(nullptr));
  SCOPED_TRACE("seed " + std::to_string(seed) + " (set DOWNLOADER_TEST_SEED to repeat)");
  std::mt19937 random(seed);
  for (int round = 0; round < 24; ++round) {
    const int length = std::uniform_int_distribution<int>(0, 20000)(random);
    const bool chunked = random() % 2 == 0;
    int sent = length;
    if (random() % 3 != 0)  // plain bodies can only be cut: WinInet stops at the length
      sent = std::uniform_int_distribution<int>(0, chunked ? 2 * length + 2000 : length)(random);
    const std::wstring path = (chunked ? L"/chunked-length/" : L"/short/") +
                              std::to_wstring(length) + L"/" + std::to_wstring(sent) + L"/" +
                              std::to_wstring(round);
    SCOPED_TRACE(Narrow(path));
    CDownloader downloader;
    downloader.Start(kServer + path);
    ASSERT_TRUE(Finish(downloader));
    if (sent == length) {
      ExpectPackage(downloader, length);
      downloader.Cancel();
    } else {
      ExpectFailedWithoutFile(downloader);
    }
  }
}

// The double's answer: a body that may be resumed, from `from` on, which
// breaks off after `cut` bytes.
CDoubleAnswer DoubleAnswer(std::size_t from, std::size_t cut = std::string::npos) {
  CDoubleAnswer answer;
  answer.headers = {{HTTP_QUERY_STATUS_CODE, from ? L"206" : L"200"},
                    {HTTP_QUERY_CONTENT_LENGTH, std::to_wstring(5000 - from)},
                    {HTTP_QUERY_ACCEPT_RANGES, L"bytes"},
                    {HTTP_QUERY_ETAG, L"\"v1\""}};
  if (from) answer.headers[HTTP_QUERY_CONTENT_RANGE] = L"bytes 3000-4999/5000";
  answer.body = PatternBody(5000).substr(from);
  answer.cut = cut;
  return answer;
}

const wchar_t kDoubleUrl[] = L"http://double.invalid/package.msi";

// Against WinInet as Windows documents it, where no-wait reads find nothing
// buffered, or answer 0 at once, and completions come from other threads.
TEST_F(DownloaderTest, DownloadsThroughAWinInetAsDocumented) {
  for (const bool zeroReads : {false, true}) {
    for (const bool resumed : {false, true}) {
      SCOPED_TRACE(std::string(zeroReads ? "zero reads" : "pending reads") +
                   (resumed ? ", resumed" : ""));
      std::vector<CDoubleAnswer> answers = {DoubleAnswer(0, resumed ? 3000 : std::string::npos)};
      if (resumed) answers.push_back(DoubleAnswer(3000));
      CWinInetDouble internet(answers, DoubleHold::kNone, zeroReads);
      {
        CDownloader downloader(kShortTimeoutMs);
        for (std::size_t i = 0; i < answers.size(); ++i) {
          downloader.Start(kDoubleUrl);
          ASSERT_TRUE(Finish(downloader));
        }
        ExpectPackage(downloader, 5000);
        downloader.Cancel();
      }
      EXPECT_TRUE(LeftoverFiles().empty());
      const CDoubleRecord record = internet.Record();
      const std::wstring first = L"Accept: */*\r\nPragma: no-cache\r\nCache-Control: no-cache\r\n";
      std::vector<std::wstring> requests = {first,
                                            first + L"Range: bytes=3000-\r\nIf-Range: \"v1\"\r\n"};
      requests.resize(answers.size());
      EXPECT_EQ(requests, record.requests);
      EXPECT_EQ(std::vector<std::string>(), record.faults);
      EXPECT_EQ(0u, record.openHandles);
    }
  }
}

// A cancel in every phase ends the attempt at once, and only the worker
// closes the handles, never under a call it is inside.
TEST_F(DownloaderTest, CancelThroughAWinInetAsDocumentedClosesOnlyFromTheWorker) {
  const struct {
    const char* name;
    DoubleHold hold;
  } rows[] = {{"sending", DoubleHold::kSend},
              {"waiting for the body", DoubleHold::kRead},
              {"asking what has arrived", DoubleHold::kQuery},
              {"inside a long read", DoubleHold::kInsideRead}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CWinInetDouble internet({DoubleAnswer(0)}, row.hold, row.hold == DoubleHold::kQuery);
    {
      CDownloader downloader;
      downloader.Start(kDoubleUrl);
      ASSERT_TRUE(internet.WaitForHold(10000));
      downloader.Cancel();
      EXPECT_EQ(0u, internet.Record().openHandles) << "the worker was left behind";
    }
    EXPECT_EQ(std::vector<std::string>(), internet.Record().faults);
    EXPECT_TRUE(LeftoverFiles().empty());
  }
}

}  // namespace
