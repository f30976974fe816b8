// Download phase: fetches the product package over HTTPS into the download file, retrying a broken
// transfer by itself and resuming it where the server allows.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "app/install_outcome.h"
#include "app/phases/package_hash.h"
#include "net/net_access.h"
#include "runtime/w_string.h"

namespace vexo::app {

struct DownloadOptions {
  // The proxy for the request, as libcurl takes it; empty: a direct connection.
  CWString proxy;
  // Pauses before the automatic retries, in milliseconds; their number is the number of retries.
  std::int32_t retry_pauses_ms[3] = {1000, 2000, 4000};
  // Called on the downloading thread before each retry with its number (1-based) and the number of retries.
  std::function<void(int retry, int retries)> on_retry;
  // Whether the first attempt may go over a connection that the previous successful download left open
  // (the signature file right after its package); retries and other downloads always open a new one.
  bool reuse_connection = false;
  // When not null: after a success, the SHA-256 of the saved file, taken as its bytes arrived, when they
  // came from its first byte in one attempt; empty otherwise (the file must then be hashed by reading it).
  std::optional<HashedPackage>* arrived_hash = nullptr;
};

// GETs `url` with `net` (progress goes to its event) and saves the body as `file_path`, written as it
// arrives in large blocks to `file_path` + ".part", so memory stays flat in the package's size.
//
// A transfer that cannot connect, breaks off or stalls is retried after each pause of `options`. A retry
// asks only for the missing bytes ("Range: bytes=<held>-", into `file_path` + ".piece") when the first
// answer announced a length; the piece joins the bytes held only when the server answers 206 with a
// Content-Range that starts exactly there and has the same total; a 200 replaces them; anything else
// starts again from 0. Before the body is written, the drive must have room for what the answer
// announces (kDiskSpace with both figures otherwise).
//
// The file exists afterwards only when the whole package arrived and every byte was written to it: an
// earlier file of that name is removed first, the part file is renamed only then, and part and piece
// files are removed on failure. Returns the last failure: no connection, connection lost,
// stalled, TLS, redirects, another HTTP status, no space, or a file that could not be written.
InstallOutcome DownloadPackage(rg_Pelor_ShiChuang_WangLao::rg_WangLaoFangWenLei& net, const CWString& url,
                               const CWString& file_path, const DownloadOptions& options);

// The bytes held from earlier attempts while a resumed attempt runs (0 otherwise): the progress of the
// running transfer counts from there. Any thread.
std::int64_t DownloadProgressBase();

}  // namespace vexo::app
