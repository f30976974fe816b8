#include "app/phases/package_hash.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "7zip-sha256/Sha256.h"

namespace vexo::app {

namespace {

// Bytes are hashed in blocks of this size on the hash's own thread; at most kBlocksInFlight wait or are
// being hashed, so a caller faster than the hash waits instead of piling up memory.
constexpr std::size_t kBlock = 1u << 20;
constexpr std::size_t kBlocksInFlight = 4;

using Block = std::unique_ptr<Byte[]>;

}  // namespace

struct PackageHash::State {
  CSha256 sha256;
  // The block being filled by Add, and how much of it is.
  Block filling;
  std::size_t filled = 0;
  // Set when a block or the thread could not be had: the rest is hashed on the caller's thread.
  bool hash_here = false;
  // Shared with the hashing thread, under `lock`.
  std::mutex lock;
  std::condition_variable changed;
  std::deque<Block> full;
  std::vector<Block> spare;
  std::size_t in_flight = 0;
  bool ending = false;
  std::thread worker;

  void HashBlocks() {
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
      changed.wait(guard, [this] { return !full.empty() || ending; });
      if (full.empty()) return;
      Block block = std::move(full.front());
      full.pop_front();
      guard.unlock();
      Sha256_Update(&sha256, block.get(), kBlock);
      guard.lock();
      spare.push_back(std::move(block));
      --in_flight;
      changed.notify_all();
    }
  }

  // Hands the full block to the hashing thread and takes an empty one; without memory or a thread for
  // that, goes on hashing here.
  void HandOver() {
    Block next;
    {
      std::unique_lock<std::mutex> guard(lock);
      changed.wait(guard, [this] { return in_flight < kBlocksInFlight; });
      if (!spare.empty()) {
        next = std::move(spare.back());
        spare.pop_back();
      }
    }
    if (!next) next.reset(new (std::nothrow) Byte[kBlock]);
    if (!next || (!worker.joinable() && !StartWorker())) {
      HashHereFromNowOn();
      return;
    }
    {
      std::lock_guard<std::mutex> guard(lock);
      full.push_back(std::move(filling));
      ++in_flight;
    }
    changed.notify_all();
    filling = std::move(next);
    filled = 0;
  }

  // After the blocks the thread holds, hashes the bytes kept here and every later byte on the caller's thread.
  void HashHereFromNowOn() {
    StopWorker();
    if (filled > 0) Sha256_Update(&sha256, filling.get(), filled);
    filled = 0;
    filling.reset();
    hash_here = true;
  }

  void Add(const Byte* bytes, std::size_t size) {
    while (size > 0) {
      if (!hash_here && !filling) {
        filling.reset(new (std::nothrow) Byte[kBlock]);
        if (!filling) HashHereFromNowOn();
      }
      if (hash_here) {
        Sha256_Update(&sha256, bytes, size);
        return;
      }
      const std::size_t piece = std::min(size, kBlock - filled);
      std::memcpy(filling.get() + filled, bytes, piece);
      filled += piece;
      bytes += piece;
      size -= piece;
      if (filled == kBlock) HandOver();
    }
  }

  bool StartWorker() {
    try {
      worker = std::thread([this] { HashBlocks(); });
      return true;
    } catch (const std::system_error&) {
      return false;
    }
  }

  // Lets the hashing thread finish what it holds and end.
  void StopWorker() {
    if (!worker.joinable()) return;
    {
      std::lock_guard<std::mutex> guard(lock);
      ending = true;
    }
    changed.notify_all();
    worker.join();
  }
};

PackageHash::PackageHash() : state_(new State) {
  // Picks the fastest implementation the processor supports, once per process.
  static std::once_flag prepared;
  std::call_once(prepared, [] { Sha256Prepare(); });
  Sha256_Init(&state_->sha256);
}

PackageHash::~PackageHash() { state_->StopWorker(); }

bool PackageHash::Add(const void* data, std::size_t size) {
  if (finished_) return false;
  state_->Add(static_cast<const Byte*>(data), size);
  bytes_ += size;
  return true;
}

bool PackageHash::Finish(HashedPackage& out) {
  if (finished_) return false;
  State& state = *state_;
  state.StopWorker();
  if (state.filled > 0) Sha256_Update(&state.sha256, state.filling.get(), state.filled);
  Sha256_Final(&state.sha256, out.sha256.data());
  finished_ = true;
  out.bytes = bytes_;
  return true;
}

}  // namespace vexo::app
