// The libcurl easy handle of a transfer, with its request header list, in a counted holder that
// transfers sharing the handle hold together.
#pragma once

#include <curl/curl.h>

#include <atomic>
#include <memory>

#include "runtime/ref_object.h"

namespace rg_Pelor_ShiChuang_WangLao {
class rg_WangLaoChuanShuLei;
}

namespace vexo::net {

// How much every easy handle of the engine reads from its connection at a time (libcurl's default is
// 16 KiB). Under wine each read of a socket is a round trip to the wine server, and Schannel reads as much
// as libcurl asks for: a large download takes half the time (docs/network-engine.md). The buffer is
// allocated once per handle.
inline constexpr long kReceiveBufferBytes = 512 * 1024;

}  // namespace vexo::net

// The payload of the holder: one easy handle (made lazily when libcurl could not make it at once), the
// header list handed to CURLOPT_HTTPHEADER, and the transfer object that receives the handle's progress
// reports. Owned by its holder; not copyable.
class CCurlWraper {
 public:
  // Makes the easy handle (a second attempt when the first gives null), reading kReceiveBufferBytes at a
  // time; a null handle is retried at each later GetEasy.
  CCurlWraper();
  CCurlWraper(const CCurlWraper&) = delete;
  CCurlWraper& operator=(const CCurlWraper&) = delete;
  // Frees the header list and cleans up the easy handle.
  ~CCurlWraper();

  // The easy handle, made now if there is none yet; null when libcurl cannot make one. Owned here.
  CURL* GetEasy();

  // Sets one option on the easy handle (made first if needed). libcurl's result is returned; the engine
  // does not examine it, as an option this libcurl lacks must not stop a request.
  template <class T>
  CURLcode SetOption(CURLoption option, T value) {
    CURL* easy = GetEasy();
    return easy != nullptr ? curl_easy_setopt(easy, option, value) : CURLE_FAILED_INIT;
  }

  // The request header list (null when there is none); owned here.
  curl_slist* GetHeaderList() const { return header_list_.get(); }
  // Frees the request header list.
  void ClearHeaderList() { header_list_.reset(); }
  // Appends a copy of `line` to the request header list; when libcurl cannot, the list stays as it was.
  void AppendHeader(const char* line);

  // The transfer that receives this handle's progress reports, or null.
  rg_Pelor_ShiChuang_WangLao::rg_WangLaoChuanShuLei* GetProgressTarget() const {
    return progress_target_.load(std::memory_order_acquire);
  }
  // Makes `target` the receiver of progress reports (null: nobody).
  void SetProgressTarget(rg_Pelor_ShiChuang_WangLao::rg_WangLaoChuanShuLei* target) {
    progress_target_.store(target, std::memory_order_release);
  }
  // Clears the receiver if it is still `target` (a transfer that ends unhooks only itself).
  void ClearProgressTarget(rg_Pelor_ShiChuang_WangLao::rg_WangLaoChuanShuLei* target) {
    progress_target_.compare_exchange_strong(target, nullptr, std::memory_order_acq_rel);
  }

 private:
  struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
  };
  struct ListFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
  };

  std::unique_ptr<CURL, EasyCleanup> easy_;
  std::unique_ptr<curl_slist, ListFree> header_list_;
  std::atomic<rg_Pelor_ShiChuang_WangLao::rg_WangLaoChuanShuLei*> progress_target_{nullptr};
};

// The counted holder of one easy handle; created with count 1, the handle ends with its last reference.
using CurlHolder = CRefObjectWithData<CCurlWraper>;
