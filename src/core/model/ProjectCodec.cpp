#include "core/model/ProjectCodec.h"

#include "core/model/ByteCursor.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace tepa {
namespace {

namespace L = layout;

// Reading and writing walk the record through the same visit functions, so the two directions
// cannot disagree about a field. `base` is the file offset of the enclosing entry (0 for the
// record's own fields); an Io places each field at base + its layout offset.

template <class Io, class Entry> void visitCommonEntryFields(Io& io, std::size_t base, Entry& e)
{
    io.field(base, L::entry::TypeName, e.TypeName);
    io.field(base, L::entry::Length, e.Length);
    io.field(base, L::entry::Height, e.Height);
    io.field(base, L::entry::HeightFactor, e.HeightFactor);
    io.field(base, L::entry::EffectiveLength, e.EffectiveLength);
    io.field(base, L::entry::FanSpeed, e.FanSpeed);
    io.field(base, L::entry::MassFlow, e.MassFlow);
    io.field(base, L::entry::FanSetting, e.FanSetting);
    io.field(base, L::entry::Count, e.Count);
    io.field(base, L::entry::TypeText1, e.TypeText1);
    io.field(base, L::entry::TypeText2, e.TypeText2);
    io.field(base, L::entry::CoeffK, e.CoeffK);
    io.field(base, L::entry::ExponentN, e.ExponentN);
    io.field(base, L::entry::ReturnTemp, e.ReturnTemp);
    io.field(base, L::entry::Output, e.Output);
}

template <class Io, class Entry> void visitHeatingEntry(Io& io, std::size_t base, Entry& e)
{
    visitCommonEntryFields(io, base, e);
    io.field(base, L::heating::FreeConvection, e.FreeConvection);
    io.field(base, L::heating::PressureDrop, e.PressureDrop);
    io.field(base, L::heating::SoundLevel, e.SoundLevel);
    io.field(base, L::heating::ReturnTempEnd, e.ReturnTempEnd);
    io.field(base, L::heating::ReturnTempStart, e.ReturnTempStart);
    io.field(base, L::heating::MassFlowEnd, e.MassFlowEnd);
    io.field(base, L::heating::MassFlowStart, e.MassFlowStart);
    io.field(base, L::heating::OutputEnd, e.OutputEnd);
    io.field(base, L::heating::OutputStart, e.OutputStart);
    io.field(base, L::heating::CoolingNominalOutput, e.CoolingNominalOutput);
    io.field(base, L::heating::CoolingNominalSound, e.CoolingNominalSound);
    io.field(base, L::heating::CoolingNominalPressureDrop, e.CoolingNominalPressureDrop);
    io.field(base, L::heating::CoolingNominalMassFlow, e.CoolingNominalMassFlow);
    io.field(base, L::heating::FreeConvectionB, e.FreeConvectionB);
    io.field(base, L::heating::InUse, e.InUse);
    io.field(base, L::heating::Unassigned, e.Unassigned);
}

template <class Io, class Entry> void visitCoolingEntry(Io& io, std::size_t base, Entry& e)
{
    visitCommonEntryFields(io, base, e);
    io.field(base, L::cooling::PressureDrop, e.PressureDrop);
    io.field(base, L::cooling::SoundLevel, e.SoundLevel);
    io.field(base, L::cooling::HeatingNominalOutput, e.HeatingNominalOutput);
    io.field(base, L::cooling::HeatingNominalSound, e.HeatingNominalSound);
    io.field(base, L::cooling::HeatingNominalPressureDrop, e.HeatingNominalPressureDrop);
    io.field(base, L::cooling::HeatingNominalMassFlow, e.HeatingNominalMassFlow);
    io.field(base, L::cooling::InUse, e.InUse);
    io.field(base, L::cooling::Unassigned, e.Unassigned);
}

template <class Io, class Record> void visitRecord(Io& io, Record& r)
{
    namespace R = L::record;
    io.field(0, R::Title, r.Title);
    io.field(0, R::Number, r.Number);
    io.field(0, R::Date, r.Date);
    io.field(0, R::UnassignedAfterDate, r.UnassignedAfterDate);
    io.field(0, R::RemarkLines, r.RemarkLines);
    io.field(0, R::DataLines, r.DataLines);
    io.field(0, R::UnassignedAfterDataLines, r.UnassignedAfterDataLines);
    io.field(0, R::Attachments, r.Attachments);
    io.field(0, R::RoomName, r.RoomName);
    io.field(0, R::HeatingDemand, r.HeatingDemand);
    io.field(0, R::CoolingDemand, r.CoolingDemand);
    io.field(0, R::HeatingRoomTemp, r.HeatingRoomTemp);
    io.field(0, R::CoolingRoomTemp, r.CoolingRoomTemp);
    io.field(0, R::HeatingFlowTemp, r.HeatingFlowTemp);
    io.field(0, R::CoolingFlowTemp, r.CoolingFlowTemp);
    io.field(0, R::HeatingSecondTemp, r.HeatingSecondTemp);
    io.field(0, R::CoolingSecondTemp, r.CoolingSecondTemp);
    io.field(0, R::CoolingHumidity, r.CoolingHumidity);
    io.field(0, R::HeatingEntryCount, r.HeatingEntryCount);
    io.field(0, R::CoolingEntryCount, r.CoolingEntryCount);
    io.field(0, R::ReturnTempFixed, r.ReturnTempFixed);
    io.field(0, R::MassFlowFixed, r.MassFlowFixed);
    io.field(0, R::HeatingEntries, r.HeatingEntries);
    io.field(0, R::CoolingEntries, r.CoolingEntries);
    io.field(0, R::CalculationDone, r.CalculationDone);
    io.field(0, R::HeatingInUse, r.HeatingInUse);
    io.field(0, R::CoolingInUse, r.CoolingInUse);
    io.field(0, R::CoolingDualUse, r.CoolingDualUse);
    io.field(0, R::HeatingDualUse, r.HeatingDualUse);
    io.field(0, R::RoomCount, r.RoomCount);
}

class RecordReader
{
public:
    explicit RecordReader(std::span<const std::byte> image)
        : m_cursor(image)
    {}

    template <class T> void field(std::size_t base, L::Field<T> f, T& value)
    {
        m_cursor.seek(base + f.offset);
        read(value);
    }

    const ByteReader& cursor() const { return m_cursor; }

private:
    // Arrays are read element after element from the field's start.
    void read(double& value)
    {
        value = m_cursor.f64();
        // NaN or infinity would travel into every result computed from it.
        if (!std::isfinite(value))
            value = 0;
    }
    void read(std::int32_t& value) { value = m_cursor.i32(); }
    void read(std::int16_t& value) { value = m_cursor.i16(); }
    void read(bool& value) { value = m_cursor.u8() != 0; }
    template <std::size_t N> void read(FixedString<N>& text)
    {
        auto& raw = text.raw();
        m_cursor.bytes(raw);
        // A longer length would make the text run into the next field.
        raw[0] = static_cast<std::uint8_t>(std::min<std::size_t>(raw[0], N));
    }
    template <std::size_t K> void read(std::array<std::uint8_t, K>& bytes) { m_cursor.bytes(bytes); }
    template <class T, std::size_t K> void read(std::array<T, K>& elements)
    {
        for (auto& element : elements)
            read(element);
    }
    void read(HeatingEntry& entry)
    {
        const std::size_t base = m_cursor.position();
        visitHeatingEntry(*this, base, entry);
        m_cursor.seek(base + HeatingEntrySize);
    }
    void read(CoolingEntry& entry)
    {
        const std::size_t base = m_cursor.position();
        visitCoolingEntry(*this, base, entry);
        m_cursor.seek(base + CoolingEntrySize);
    }

    ByteReader m_cursor;
};

class RecordWriter
{
public:
    explicit RecordWriter(std::span<std::byte> image)
        : m_cursor(image)
    {}

    template <class T> void field(std::size_t base, L::Field<T> f, const T& value)
    {
        m_cursor.seek(base + f.offset);
        write(value);
    }

    const ByteWriter& cursor() const { return m_cursor; }

private:
    void write(double value) { m_cursor.f64(value); }
    void write(std::int32_t value) { m_cursor.i32(value); }
    void write(std::int16_t value) { m_cursor.i16(value); }
    void write(bool value) { m_cursor.u8(value ? 1 : 0); }
    template <std::size_t N> void write(const FixedString<N>& text) { m_cursor.bytes(text.raw()); }
    template <std::size_t K> void write(const std::array<std::uint8_t, K>& bytes) { m_cursor.bytes(bytes); }
    template <class T, std::size_t K> void write(const std::array<T, K>& elements)
    {
        for (const auto& element : elements)
            write(element);
    }
    void write(const HeatingEntry& entry)
    {
        const std::size_t base = m_cursor.position();
        visitHeatingEntry(*this, base, entry);
        m_cursor.seek(base + HeatingEntrySize);
    }
    void write(const CoolingEntry& entry)
    {
        const std::size_t base = m_cursor.position();
        visitCoolingEntry(*this, base, entry);
        m_cursor.seek(base + CoolingEntrySize);
    }

    ByteWriter m_cursor;
};

} // namespace

Result<ProjectRecord> ProjectCodec::decode(std::span<const std::byte> image)
{
    if (image.size() < ProjectRecordSize)
        return Error{LoadingErrorMessage};

    ProjectRecord record;
    RecordReader reader(image.first(ProjectRecordSize));
    visitRecord(reader, record);
    if (reader.cursor().failed())
        return Error{LoadingErrorMessage};

    // The counts index fixed arrays of MaxEntries entries and the list builders loop over
    // RoomCount; the program only ever writes the values in these ranges.
    // A list whose only entry was deleted has the count 0 with its first entry free; that state
    // comes back as it was saved.
    const auto maxEntries = static_cast<std::int32_t>(MaxEntries);
    const auto loadedCount = [&](std::int32_t count, bool firstInUse) {
        return count == 0 && !firstInUse ? 0 : std::clamp(count, 1, maxEntries);
    };
    record.HeatingEntryCount = loadedCount(record.HeatingEntryCount, record.HeatingEntries[0].InUse);
    record.CoolingEntryCount = loadedCount(record.CoolingEntryCount, record.CoolingEntries[0].InUse);
    record.RoomCount = 1;
    return record;
}

std::vector<std::byte> ProjectCodec::encode(const ProjectRecord& record)
{
    std::vector<std::byte> image(ProjectRecordSize);
    RecordWriter writer(image);
    visitRecord(writer, record);
    assert(!writer.cursor().failed() && "the layout lies inside the record");
    return image;
}

} // namespace tepa
