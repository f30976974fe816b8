// The network transfer: progress delivered on the constructing thread (waiting for the handlers, or the
// latest counts without waiting), notice window failures, handlers that abort, and easy handles shared
// between copies.
#include "net/net_transfer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/win/scoped_handles.h"
#include "tests/support/message_pump.h"
#include "tests/net/progress_log.h"
#include "tests/net/test_server_urls.h"

namespace rg_Pelor_ShiChuang_WangLao {
namespace {

using vexo::test::HandlerOwner;
using vexo::test::LogProgress;
using vexo::test::ProgressLog;
using vexo::test::ServerUrl;
using vexo::test::UserValue;

LRESULT CALLBACK RefuseCreation(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return message == WM_NCCREATE ? FALSE : ::DefWindowProcW(window, message, wparam, lparam);
}

// Runs one GET on the transfer's handle on the calling thread, reporting progress; the body is dropped.
CURLcode Get(rg_WangLaoChuanShuLei& transfer, const std::string& url) {
  transfer.BeginTransfer();
  CCurlWraper& curl = transfer.GetCurl();
  curl.SetOption(CURLOPT_URL, url.c_str());
  curl.SetOption(CURLOPT_NOPROGRESS, 0L);
  return curl_easy_perform(curl.GetEasy());
}

class NetTransferTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(vexo::test::ServerIsRunning()) << "ctest starts the server (fixture net_http)"; }
};

TEST_F(NetTransferTest, ProgressRunsOnTheConstructingThreadWhileAnotherThreadTransfers) {
  HandlerOwner owner;
  ProgressLog progress;
  rg_WangLaoChuanShuLei transfer;
  ASSERT_NE(transfer.GetNoticeWindow(), nullptr);
  transfer.GetProgressEvent().Bind(&LogProgress, owner.self, UserValue(progress));
  CURLcode code = CURLE_FAILED_INIT;
  DWORD worker_thread = 0;
  vexo::test::RunWhilePumping([&] {
    worker_thread = ::GetCurrentThreadId();
    code = Get(transfer, ServerUrl("http", "/slow"));
  });
  EXPECT_EQ(code, CURLE_OK);
  ASSERT_GE(progress.threads.size(), 5u) << "a one-second body reports progress several times";
  for (DWORD thread : progress.threads) EXPECT_EQ(thread, ::GetCurrentThreadId());
  EXPECT_NE(worker_thread, ::GetCurrentThreadId());
  for (CPelObject* source : progress.sources) EXPECT_EQ(source, &transfer);
  EXPECT_EQ(progress.last_total, 10000);
  EXPECT_EQ(progress.last_downloaded, 10000) << "the completing report always arrives";
}

TEST_F(NetTransferTest, WithoutANoticeWindowTheTransferCompletesWithoutProgress) {
  // A class of that name whose windows refuse to be created makes the transfer's window fail. The real
  // class, registered by earlier transfers whose windows are gone, makes way for it first.
  HINSTANCE module = ::GetModuleHandleW(nullptr);
  ::UnregisterClassW(IPelNoticeReceiver::kWindowClass, module);
  WNDCLASSW refusing{};
  refusing.lpfnWndProc = &RefuseCreation;
  refusing.hInstance = module;
  refusing.lpszClassName = IPelNoticeReceiver::kWindowClass;
  ASSERT_NE(::RegisterClassW(&refusing), 0);
  HandlerOwner owner;
  ProgressLog progress;
  {
    rg_WangLaoChuanShuLei transfer;
    EXPECT_EQ(transfer.GetNoticeWindow(), nullptr);
    transfer.GetProgressEvent().Bind(&LogProgress, owner.self, UserValue(progress));
    EXPECT_EQ(Get(transfer, ServerUrl("http", "/slow")), CURLE_OK);
  }
  EXPECT_TRUE(::UnregisterClassW(IPelNoticeReceiver::kWindowClass, module));
  EXPECT_TRUE(progress.threads.empty());
}

TEST_F(NetTransferTest, HandlerResultDecidesWhetherTheTransferGoesOn) {
  struct Case {
    std::int32_t answer;
    bool owner_alive;
    CURLcode code;
    bool called;
  };
  const Case cases[] = {
      {0, true, CURLE_OK, true},
      {1, true, CURLE_ABORTED_BY_CALLBACK, true},
      {1, false, CURLE_OK, false},  // a handler whose owner has ended is not called and cannot abort
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "answer " << c.answer << ", owner alive " << c.owner_alive);
    HandlerOwner owner;
    ProgressLog progress;
    progress.answer = c.answer;
    rg_WangLaoChuanShuLei transfer;
    transfer.GetProgressEvent().Bind(&LogProgress, owner.self, UserValue(progress));
    if (!c.owner_alive) owner.End();
    EXPECT_EQ(Get(transfer, ServerUrl("http", "/slow")), c.code);
    EXPECT_EQ(!progress.threads.empty(), c.called);
    if (c.code == CURLE_ABORTED_BY_CALLBACK) {
      EXPECT_EQ(progress.threads.size(), 1u);
    }
  }
}

TEST_F(NetTransferTest, CopiesShareTheEasyHandleWhichOutlivesTheOriginal) {
  auto* original = new rg_WangLaoChuanShuLei();
  CURL* easy = original->GetCurl().GetEasy();
  ASSERT_NE(easy, nullptr);
  auto* copy = static_cast<rg_WangLaoChuanShuLei*>(original->Clone());
  EXPECT_EQ(copy->GetHolder(), original->GetHolder());
  EXPECT_EQ(copy->GetHolder()->GetRefCount(), 2);
  EXPECT_NE(copy->GetNoticeWindow(), original->GetNoticeWindow());
  EXPECT_TRUE(copy->IsEqual(*original));
  rg_WangLaoChuanShuLei unrelated;
  EXPECT_FALSE(unrelated.IsEqual(*original));

  original->Release();
  EXPECT_EQ(copy->GetHolder()->GetRefCount(), 1);
  EXPECT_EQ(copy->GetCurl().GetEasy(), easy);
  EXPECT_EQ(Get(*copy, ServerUrl("http", "/small")), CURLE_OK);
  copy->Release();
}

TEST_F(NetTransferTest, ProgressGoesToTheSharerThatTransfersAndNeverToOneThatEnded) {
  HandlerOwner owner;
  ProgressLog original_progress;
  ProgressLog copy_progress;
  rg_WangLaoChuanShuLei copy;
  {
    rg_WangLaoChuanShuLei original;
    original.GetProgressEvent().Bind(&LogProgress, owner.self, UserValue(original_progress));
    copy = original;
    copy.GetProgressEvent().Bind(&LogProgress, owner.self, UserValue(copy_progress));
    EXPECT_EQ(Get(original, ServerUrl("http", "/small")), CURLE_OK);
    EXPECT_FALSE(original_progress.threads.empty());
    EXPECT_TRUE(copy_progress.threads.empty());
    original_progress = {};
    EXPECT_EQ(Get(copy, ServerUrl("http", "/small")), CURLE_OK);
    EXPECT_TRUE(original_progress.threads.empty());
    EXPECT_FALSE(copy_progress.threads.empty());
    // The original claims the handle back, then ends: reports must not reach it any more.
    original.BeginTransfer();
  }
  copy_progress = {};
  CCurlWraper& curl = copy.GetCurl();
  EXPECT_EQ(curl.GetProgressTarget(), nullptr);
  curl.SetOption(CURLOPT_URL, ServerUrl("http", "/small").c_str());
  EXPECT_EQ(curl_easy_perform(curl.GetEasy()), CURLE_OK);
  EXPECT_TRUE(copy_progress.threads.empty());
  EXPECT_TRUE(original_progress.threads.empty());
}

TEST_F(NetTransferTest, ResetGivesAFreshHandleAndKeepsTheEvent) {
  HandlerOwner owner;
  ProgressLog progress;
  rg_WangLaoChuanShuLei transfer;
  rg_WangLaoChuanShuLei sharer(transfer);
  transfer.GetProgressEvent().Bind(&LogProgress, owner.self, UserValue(progress));
  const CurlHolder* before = transfer.GetHolder();
  transfer.Reset();
  EXPECT_NE(transfer.GetHolder(), before);
  EXPECT_EQ(transfer.GetHolder()->GetRefCount(), 1);
  EXPECT_EQ(sharer.GetHolder()->GetRefCount(), 1);
  EXPECT_EQ(Get(transfer, ServerUrl("http", "/small")), CURLE_OK);
  EXPECT_FALSE(progress.threads.empty()) << "the fresh handle reports progress to the same event";
}

DWORD WINAPI RunTask(LPVOID task) {
  std::unique_ptr<std::function<void()>> own(static_cast<std::function<void()>*>(task));
  (*own)();
  return 0;
}

// Runs `work` on a new thread and waits for it without dispatching any message; false when it has not
// ended after 30 s (the thread is then left running).
bool RunWithoutPumping(const std::function<void()>& work) {
  auto* task = new std::function<void()>(work);
  vexo::win::ScopedHandle thread(::CreateThread(nullptr, 0, &RunTask, task, 0, nullptr));
  if (!thread) {
    delete task;
    return false;
  }
  return ::WaitForSingleObject(thread.get(), 30000) == WAIT_OBJECT_0;
}

void DispatchWaitingMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

// A transfer set to the latest-counts delivery, its reports logged in `progress`.
class LatestCountsDelivery : public NetTransferTest {
 protected:
  void SetUp() override {
    NetTransferTest::SetUp();
    transfer.SetProgressDelivery(rg_WangLaoChuanShuLei::ProgressDelivery::kLatestWithoutWaiting);
    transfer.GetProgressEvent().Bind(&LogProgress, owner.self, UserValue(progress));
  }

  HandlerOwner owner;
  ProgressLog progress;
  rg_WangLaoChuanShuLei transfer;
};

TEST_F(LatestCountsDelivery, NeverWaitsAndDeliversTheLastCountsOnce) {
  progress.answer = 1;  // ignored: this delivery cannot abort
  CURLcode code = CURLE_FAILED_INIT;
  // Nobody dispatches the owner thread's messages: a transfer that waited for its handlers would hang.
  ASSERT_TRUE(RunWithoutPumping([&] { code = Get(transfer, ServerUrl("http", "/slow")); }));
  EXPECT_EQ(code, CURLE_OK);
  EXPECT_TRUE(progress.threads.empty());
  // The transfer's end delivers the pending counts and waits for that one delivery.
  vexo::test::RunWhilePumping([&] { transfer.EndTransfer(); });
  ASSERT_EQ(progress.threads.size(), 1u) << "ten pieces' reports come as one delivery of the latest counts";
  EXPECT_EQ(progress.threads[0], ::GetCurrentThreadId());
  EXPECT_EQ(progress.sources[0], &transfer);
  EXPECT_EQ(progress.last_total, 10000);
  EXPECT_EQ(progress.last_downloaded, 10000);
  // The notice queued during the transfer finds nothing left to deliver.
  DispatchWaitingMessages();
  EXPECT_EQ(progress.threads.size(), 1u);
}

TEST_F(LatestCountsDelivery, ReachesTheHandlersWhileTheTransferRuns) {
  CURLcode code = CURLE_FAILED_INIT;
  vexo::test::RunWhilePumping([&] {
    code = Get(transfer, ServerUrl("http", "/slow"));
    transfer.EndTransfer();
  });
  EXPECT_EQ(code, CURLE_OK);
  EXPECT_GE(progress.threads.size(), 2u) << "a one-second body is shown before its end";
  for (DWORD thread : progress.threads) EXPECT_EQ(thread, ::GetCurrentThreadId());
  EXPECT_EQ(progress.last_downloaded, 10000) << "the completing report always arrives";
}

TEST_F(LatestCountsDelivery, QueuesAtMostOneNoticePerGap) {
  // A fast body of many pieces: libcurl reports after every piece, far more often than the gap.
  constexpr std::int64_t kBody = 40000000;
  CURLcode code = CURLE_FAILED_INIT;
  const ULONGLONG start = ::GetTickCount64();
  vexo::test::RunWhilePumping([&] {
    code = Get(transfer, ServerUrl("http", "/bytes/" + std::to_string(kBody)));
    transfer.EndTransfer();
  });
  const ULONGLONG elapsed = ::GetTickCount64() - start;
  EXPECT_EQ(code, CURLE_OK);
  // One notice at the start, one per gap after it, and the transfer's end.
  EXPECT_LE(progress.threads.size(), elapsed / rg_WangLaoChuanShuLei::kNoticeGapMs + 2)
      << "in " << elapsed << " ms";
  EXPECT_EQ(progress.last_downloaded, kBody) << "the completing report always arrives";
}

TEST_F(NetTransferTest, NoticeArgumentsCarrySixtyFourBitCounts) {
  HandlerOwner owner;
  ProgressLog progress;
  rg_WangLaoChuanShuLei transfer;
  transfer.GetProgressEvent().Bind(&LogProgress, owner.self, UserValue(progress));
  // Download total 0x1'00000002, downloaded 0x7FFFFFFF'FFFFFFFF, low words first.
  std::uint32_t words[8] = {2, 1, 0xFFFFFFFF, 0x7FFFFFFF, 0, 0, 0, 0};
  transfer.OnNotice(0, words, 0);
  EXPECT_EQ(progress.last_total, 0x100000002LL);
  EXPECT_EQ(progress.last_downloaded, INT64_MAX);
}

}  // namespace
}  // namespace rg_Pelor_ShiChuang_WangLao
