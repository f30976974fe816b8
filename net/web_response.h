// The web response: what one WebAccess request received, as a plain value.
#pragma once

#include <cstdint>

#include "runtime/class_family.h"
#include "runtime/object_bases.h"
#include "runtime/pel_mem.h"
#include "runtime/text_array.h"
#include "runtime/w_string.h"

namespace rg_Pelor_ShiChuang_WangLao {

// Body, header lines, cookies, redirect target, redirect count, status code and total time of one request.
// Copies copy everything; it holds nothing of the network object or of libcurl. A request that failed has
// status code 0 and whatever arrived before the failure. One thread at a time.
class rg_WangYeFangWenXiangYingLei : public rg_Pelor_JiBen::rg_KuoZhanDuiXiangLei {
  PEL_OBJECT_CLASS(rg_WangYeFangWenXiangYingLei, rg_Pelor_JiBen::rg_KuoZhanDuiXiangLei,
                   "rg_Pelor_ShiChuang_WangLao::rg_WangYeFangWenXiangYingLei")

  // An empty response: empty body, no lines or cookies, empty redirect target, zero numbers.
  rg_WangYeFangWenXiangYingLei() = default;
  rg_WangYeFangWenXiangYingLei(const rg_WangYeFangWenXiangYingLei&) = default;
  // Takes the other's body storage instead of copying it (the other keeps an empty body).
  rg_WangYeFangWenXiangYingLei(rg_WangYeFangWenXiangYingLei&&) = default;
  rg_WangYeFangWenXiangYingLei& operator=(const rg_WangYeFangWenXiangYingLei&) = default;

  // The body as delivered (decoded from any negotiated content encoding); owned by the response.
  CPelMem& GetBody() { return body_; }
  const CPelMem& GetBody() const { return body_; }
  // One element per "Set-Cookie" line, without the header name and the line end.
  const rg_Pelor_JiBen::rg_WenBenShuZuLei& GetCookies() const { return cookies_; }
  // Every header line of every response of a redirect chain, in arrival order, line ends included.
  rg_Pelor_JiBen::rg_WenBenShuZuLei& GetHeaderLines() { return header_lines_; }
  const rg_Pelor_JiBen::rg_WenBenShuZuLei& GetHeaderLines() const { return header_lines_; }
  // The rest of the last "Location" line after its first 10 characters (line end included).
  const CWString& GetRedirectTarget() const { return redirect_target_; }
  std::int32_t GetRedirectCount() const { return redirect_count_; }
  // The last response's HTTP status; 0 when the request failed.
  std::int32_t GetStatusCode() const { return status_code_; }
  // Total time of the request in microseconds.
  std::int64_t GetTotalTime() const { return total_time_us_; }
  // libcurl's result code of the transfer (CURLcode): 0 when it succeeded, else why it failed.
  std::int32_t GetTransferError() const { return transfer_error_; }

  // Fills the cookies and the redirect target from the header lines (after the transfer, once).
  void ExtractCookiesAndRedirect();
  // Sets the numbers libcurl reported for the transfer.
  void SetTransferFigures(std::int32_t redirect_count, std::int32_t status_code, std::int64_t total_time_us);
  // Sets libcurl's result code of the transfer.
  void SetTransferError(std::int32_t transfer_error) { transfer_error_ = transfer_error; }

  // Replaces `output` with the body decoded as UTF-8, up to its first zero byte or invalid sequence.
  void DumpTo(CWString& output, int limit) const override;
  // Writes body, cookies, header lines, redirect target, then redirect count, status code (4 bytes each)
  // and total time (8 bytes).
  void SaveTo(vexo::BinaryStream& stream) const override;
  // Reads what SaveTo wrote; a number the stream cannot supply keeps its value (the stream is failed).
  void LoadFrom(vexo::BinaryStream& stream) override;

 protected:
  // Responses are equal only to themselves.
  bool HasEqualFields(const rg_WangYeFangWenXiangYingLei& other) const { return this == &other; }

 private:
  CPelMem body_;
  rg_Pelor_JiBen::rg_WenBenShuZuLei cookies_;
  rg_Pelor_JiBen::rg_WenBenShuZuLei header_lines_;
  CWString redirect_target_;
  std::int32_t redirect_count_ = 0;
  std::int32_t status_code_ = 0;
  std::int64_t total_time_us_ = 0;
  std::int32_t transfer_error_ = 0;
};

}  // namespace rg_Pelor_ShiChuang_WangLao
