// The network access object: one synchronous web request at a time over a network transfer, with a
// progress event that never aborts the transfer.
#pragma once

#include <cstdint>

#include "net/body_sink.h"
#include "net/net_transfer.h"
#include "net/web_response.h"
#include "runtime/class_family.h"
#include "runtime/pel_mem.h"
#include "runtime/pel_object.h"
#include "runtime/pel_object_pointer.h"
#include "runtime/text_array.h"
#include "runtime/w_string.h"

namespace rg_Pelor_ShiChuang_WangLao {

// Construct it on the thread that is to run its progress handlers (the UI thread); WebAccess may run on
// any one thread at a time, and the constructing thread must keep dispatching messages meanwhile.
class rg_WangLaoFangWenLei : public CPelObject {
  PEL_OBJECT_CLASS(rg_WangLaoFangWenLei, CPelObject, "rg_Pelor_ShiChuang_WangLao::rg_WangLaoFangWenLei")

  // A transfer of its own whose progress event feeds this object's, an empty progress event and the
  // object's self-pointer; libcurl's progress reports are switched on.
  rg_WangLaoFangWenLei();
  // A new object (own transfer, event and self-pointer) whose transfer shares `other`'s easy handle.
  rg_WangLaoFangWenLei(const rg_WangLaoFangWenLei& other);
  // Copies the flags and reserved words and shares `other`'s easy handle; the progress binding and the
  // self-pointer stay.
  rg_WangLaoFangWenLei& operator=(const rg_WangLaoFangWenLei& other);
  // Empties the self-pointer, so that handlers this object owns are no longer called.
  ~rg_WangLaoFangWenLei() override;

  // The progress event: handler(owner, this object, user value, download total, downloaded, upload total,
  // uploaded), run on the constructing thread. Its result is ignored.
  ProgressEvent& GetProgressEvent() { return progress_; }
  // This object's self-pointer, for binding handlers it owns; owned by the object.
  CPelObjectPointer* GetSelfPointer() const { return self_.get(); }
  // The transfer whose easy handle the requests use.
  rg_WangLaoChuanShuLei& GetTransfer() { return transfer_; }

  // Performs one request synchronously on the calling thread and returns what arrived. `method` empty:
  // libcurl's choice. `post_data` the null object: no body. `headers`: complete header lines.
  // `cookie`: the Cookie header's value (empty: none). `accept_encoding` the null object: no
  // Accept-Encoding and bodies as received; empty: every encoding libcurl decodes. `proxy`, `proxy_user`,
  // `proxy_password` empty: none. TLS verifies the certificate chain and host name of the server before
  // the request is sent, also under wine (a refusal: status code 0, transfer error
  // CURLE_PEER_FAILED_VERIFICATION, nothing received); a proxy's certificate as Schannel or the trust file
  // checks it.
  // Never fails as a call: a request that fails yields status code 0 and whatever arrived before.
  rg_WangYeFangWenXiangYingLei WebAccess(const CWString& url, const CWString& method, const CPelMem& post_data,
                                         const rg_Pelor_JiBen::rg_WenBenShuZuLei& headers, const CWString& cookie,
                                         const CWString& accept_encoding, const CWString& proxy,
                                         const CWString& proxy_user, const CWString& proxy_password);
  // The same request with the body going to `sink` as it arrives, when the sink is not null: the
  // response's body then stays empty, and status code, header lines, cookies, redirect count, time and
  // progress events are as above. A sink that refuses bytes fails the request (status code 0); whatever it
  // consumed before stays with it. The sink is the caller's and must outlive the call; finishing it (a
  // file's flush and close) is the caller's part too. A null sink: exactly the call above.
  rg_WangYeFangWenXiangYingLei WebAccess(const CWString& url, const CWString& method, const CPelMem& post_data,
                                         const rg_Pelor_JiBen::rg_WenBenShuZuLei& headers, const CWString& cookie,
                                         const CWString& accept_encoding, const CWString& proxy,
                                         const CWString& proxy_user, const CWString& proxy_password,
                                         vexo::net::BodySink* sink);

  // A new buffer with `text` in the system ANSI code page, without a terminating zero; empty for an empty
  // text or a failed conversion.
  static CPelMem AnsiBytes(const CWString& text);

 protected:
  // Network access objects are equal only to themselves.
  bool HasEqualFields(const rg_WangLaoFangWenLei& other) const { return this == &other; }

 private:
  // Bound to the transfer's progress event: raises this object's event and always answers 0.
  static std::int32_t ForwardProgress(CPelObject* owner, CPelObject* source, std::uint32_t user_value,
                                      std::int64_t download_total, std::int64_t downloaded,
                                      std::int64_t upload_total, std::int64_t uploaded);
  // Switches progress reports on and feeds the transfer's progress into this object's event.
  void ConnectTransfer();

  rg_WangLaoChuanShuLei transfer_;
  ProgressEvent progress_;
  vexo::CountedRef<CPelObjectPointer> self_;
};

}  // namespace rg_Pelor_ShiChuang_WangLao
