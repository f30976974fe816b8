#include "xcgui/src/decode_ahead.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "runtime/win/com_ptr.h"

namespace xcgui {
namespace {

// One image's bytes and, once its decode ran, the result.
struct Entry {
  std::vector<unsigned char> bytes;
  bool decoded = false;
  std::unique_ptr<Image> image;
};

// Entries not yet taken, in the order queued; `waiting` are those the thread has not started on.
struct Queue {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::shared_ptr<Entry>> entries;
  std::deque<std::shared_ptr<Entry>> waiting;
  bool running = false;
};

// Never destroyed: the decode-ahead thread may outlive the statics of a program that exits meanwhile.
Queue& TheQueue() {
  static Queue* queue = new Queue();
  return *queue;
}

void DecodeWaiting() {
  Queue& queue = TheQueue();
  vexo::win::ScopedComInit com(COINIT_MULTITHREADED);
  vexo::win::ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.receive())))) {
    factory.reset();
  }
  for (;;) {
    std::shared_ptr<Entry> entry;
    {
      std::lock_guard<std::mutex> lock(queue.mutex);
      if (queue.waiting.empty()) {
        queue.running = false;
        queue.changed.notify_all();
        return;
      }
      entry = queue.waiting.front();
      queue.waiting.pop_front();
    }
    std::unique_ptr<Image> image =
        factory ? Image::DecodePixels(factory.get(), entry->bytes.data(), entry->bytes.size()) : nullptr;
    std::lock_guard<std::mutex> lock(queue.mutex);
    entry->image = std::move(image);
    entry->decoded = true;
    queue.changed.notify_all();
  }
}

}  // namespace

bool DecodeAhead(const void* data, size_t size) {
  if (!data || size == 0) return false;
  auto entry = std::make_shared<Entry>();
  try {
    entry->bytes.assign(static_cast<const unsigned char*>(data), static_cast<const unsigned char*>(data) + size);
  } catch (const std::bad_alloc&) {
    return false;
  }
  Queue& queue = TheQueue();
  std::lock_guard<std::mutex> lock(queue.mutex);
  if (!queue.running) {
    try {
      std::thread(&DecodeWaiting).detach();
    } catch (const std::system_error&) {
      return false;
    }
    queue.running = true;
  }
  queue.entries.push_back(entry);
  queue.waiting.push_back(entry);
  return true;
}

std::unique_ptr<Image> TakeDecodedAhead(const void* data, size_t size) {
  if (!data || size == 0) return nullptr;
  Queue& queue = TheQueue();
  std::unique_lock<std::mutex> lock(queue.mutex);
  auto found = std::find_if(queue.entries.begin(), queue.entries.end(), [&](const std::shared_ptr<Entry>& entry) {
    return entry->bytes.size() == size && std::memcmp(entry->bytes.data(), data, size) == 0;
  });
  if (found == queue.entries.end()) return nullptr;
  const std::shared_ptr<Entry> entry = *found;
  queue.entries.erase(found);
  queue.changed.wait(lock, [&] { return entry->decoded; });
  return std::move(entry->image);
}

void DropDecodedAhead() {
  Queue& queue = TheQueue();
  std::unique_lock<std::mutex> lock(queue.mutex);
  // A decode that never runs counts as failed for whoever waits for it.
  for (const std::shared_ptr<Entry>& entry : queue.waiting) entry->decoded = true;
  queue.waiting.clear();
  queue.changed.notify_all();
  queue.changed.wait(lock, [&] { return !queue.running; });
  queue.entries.clear();
}

}  // namespace xcgui
