#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tepa {

// Little-endian reading from a byte buffer. Every read checks the buffer's end: a read that would
// pass it reads nothing, returns zero and marks the cursor failed (the mark stays), so a decoder
// can read a whole record and check once at the end.
class ByteReader
{
public:
    explicit ByteReader(std::span<const std::byte> data)
        : m_data(data)
    {}

    // Moves to an absolute position; a position past the end makes the next read fail.
    void seek(std::size_t position) { m_position = position; }
    std::size_t position() const { return m_position; }
    bool failed() const { return m_failed; }
    // Position of the first read that failed.
    std::size_t failedAt() const { return m_failedAt; }

    std::uint8_t u8() { return static_cast<std::uint8_t>(unsignedLe(1)); }
    std::int16_t i16() { return static_cast<std::int16_t>(unsignedLe(2)); }
    std::int32_t i32() { return static_cast<std::int32_t>(unsignedLe(4)); }
    double f64() { return std::bit_cast<double>(unsignedLe(8)); }

    // Copies out.size() bytes as they stand; on failure `out` is left unchanged.
    void bytes(std::span<std::uint8_t> out)
    {
        if (!take(out.size()))
            return;
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = static_cast<std::uint8_t>(m_data[m_position - out.size() + i]);
    }

private:
    // Advances over `count` bytes when they are there.
    bool take(std::size_t count)
    {
        if (m_failed || m_position > m_data.size() || count > m_data.size() - m_position) {
            if (!m_failed)
                m_failedAt = m_position;
            m_failed = true;
            return false;
        }
        m_position += count;
        return true;
    }

    std::uint64_t unsignedLe(std::size_t count)
    {
        if (!take(count))
            return 0;
        std::uint64_t value = 0;
        for (std::size_t i = count; i-- > 0;)
            value = (value << 8) | static_cast<std::uint8_t>(m_data[m_position - count + i]);
        return value;
    }

    std::span<const std::byte> m_data;
    std::size_t m_position = 0;
    std::size_t m_failedAt = 0;
    bool m_failed = false;
};

// Little-endian writing into a buffer of fixed size, checked like ByteReader: a write that would
// pass the end writes nothing and marks the cursor failed.
class ByteWriter
{
public:
    explicit ByteWriter(std::span<std::byte> data)
        : m_data(data)
    {}

    void seek(std::size_t position) { m_position = position; }
    std::size_t position() const { return m_position; }
    bool failed() const { return m_failed; }
    std::size_t failedAt() const { return m_failedAt; }

    void u8(std::uint8_t value) { unsignedLe(value, 1); }
    void i16(std::int16_t value) { unsignedLe(static_cast<std::uint16_t>(value), 2); }
    void i32(std::int32_t value) { unsignedLe(static_cast<std::uint32_t>(value), 4); }
    void f64(double value) { unsignedLe(std::bit_cast<std::uint64_t>(value), 8); }

    void bytes(std::span<const std::uint8_t> in)
    {
        if (!take(in.size()))
            return;
        for (std::size_t i = 0; i < in.size(); ++i)
            m_data[m_position - in.size() + i] = static_cast<std::byte>(in[i]);
    }

private:
    bool take(std::size_t count)
    {
        if (m_failed || m_position > m_data.size() || count > m_data.size() - m_position) {
            if (!m_failed)
                m_failedAt = m_position;
            m_failed = true;
            return false;
        }
        m_position += count;
        return true;
    }

    void unsignedLe(std::uint64_t value, std::size_t count)
    {
        if (!take(count))
            return;
        for (std::size_t i = 0; i < count; ++i, value >>= 8)
            m_data[m_position - count + i] = static_cast<std::byte>(value & 0xFF);
    }

    std::span<std::byte> m_data;
    std::size_t m_position = 0;
    std::size_t m_failedAt = 0;
    bool m_failed = false;
};

} // namespace tepa
