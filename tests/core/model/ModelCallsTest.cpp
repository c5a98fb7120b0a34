#include "core/model/Attachments.h"
#include "core/model/ByteCursor.h"
#include "core/model/ProjectCodec.h"
#include "core/model/FixedString.h"
#include "core/model/Session.h"

#include "SampleProjects.h"

#include "core/GoldenCalls.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tepa {
namespace {

std::string result(const std::vector<std::string>& w)
{
    const std::string& call = w.at(0);
    if (call == "text") {
        FixedString<15> field;
        field.setText(w.at(1));
        if (w.size() > 2) // a length byte from a damaged file
            field.raw()[0] = static_cast<std::uint8_t>(std::stoi(w[2]));
        return std::to_string(field.length()) + " \"" + field.text() + "\"";
    }
    if (call == "storage") {
        const char* names[] = {"exact", "character outside the code page", "too long"};
        return names[static_cast<int>(attachmentStorage(w.at(1)))];
    }
    if (call == "opening") {
        const char* names[] = {"open the document", "confirm the address", "refuse"};
        return names[static_cast<int>(attachmentOpening(w.at(1)))];
    }
    if (call == "entry") {
        Session session;
        session.HeatingEntryIndex = session.CoolingEntryIndex = std::stoi(w.at(1));
        const Session& view = session;
        const auto heating = &session.currentHeatingEntry() - session.Project.HeatingEntries.data();
        const auto cooling = &session.currentCoolingEntry() - session.Project.CoolingEntries.data();
        const auto viewed = &view.currentHeatingEntry() - session.Project.HeatingEntries.data();
        return std::to_string(heating) + " " + std::to_string(cooling) + " " + std::to_string(viewed);
    }
    if (call == "decode") {
        auto image = ProjectCodec::encode(test::sampleProject());
        for (std::size_t i = 2; i < w.size(); ++i)
            image.at(std::stoul(w.at(1)) + i - 2) = static_cast<std::byte>(std::stoi(w[i], nullptr, 16));
        const auto r = ProjectCodec::decode(image);
        if (!r)
            return "error " + r.error();
        std::ostringstream text;
        text << "Title " << int(r->Title.raw()[0]) << ", cooling 12 TypeName " << int(r->CoolingEntries[11].TypeName.raw()[0])
             << ", heating entries " << r->HeatingEntryCount << ", rooms " << r->RoomCount << ", HeatingDemand "
             << r->HeatingDemand << ", cooling 1 Output " << r->CoolingEntries[0].Output
             << ", heating 12 OutputStart " << r->HeatingEntries[11].OutputStart;
        return text.str();
    }
    ADD_FAILURE() << "unknown call " << call;
    return "";
}

// The calls of tests/data/model-calls.txt (GoldenCalls.h says how the file is checked and
// written, here by bin/test_model).
TEST(ModelCalls, AnswerAsTheGoldenFileSays)
{
    test::checkGoldenCalls(TEPA_TEST_DATA_DIR "/model-calls.txt",
                           [](const std::string& line) { return result(test::callWords(line)); });
}

TEST(ByteCursor, NeverReadsOrWritesPastTheEnd)
{
    const std::vector<std::byte> data(6, std::byte{0x11});
    ByteReader reader(data);
    reader.seek(3);
    EXPECT_EQ(reader.i32(), 0);
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.failedAt(), 3u);
    reader.seek(0);
    EXPECT_EQ(reader.u8(), 0); // the byte is there, but a failed cursor reads nothing more

    std::vector<std::byte> target(3);
    ByteWriter writer(target);
    writer.i16(-2);
    writer.i16(0x7777); // one byte left
    EXPECT_TRUE(writer.failed());
    EXPECT_EQ(target, (std::vector<std::byte>{std::byte{0xFE}, std::byte{0xFF}, std::byte{0x00}}));
}

} // namespace
} // namespace tepa
