// Random access to the bytes of a file or of memory, for the frame parsing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mp3 {

class IByteSource {
 public:
  virtual ~IByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Copies up to `count` bytes from `offset` to `out`; returns how many it copied.
  virtual size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) = 0;
};

// Bytes held in memory (tests, the fuzzer).
class MemoryBytes : public IByteSource {
 public:
  MemoryBytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  uint64_t Size() const override { return m_size; }
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override;

 private:
  const uint8_t* m_data;
  size_t m_size;
};

}  // namespace mp3
