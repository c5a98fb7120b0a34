#include "core/model/Attachments.h"

#include <gtest/gtest.h>

#include <string>

namespace tepa {
namespace {

TEST(Attachments, OnlyPathsTheFileHoldsExactlyCanBeStored)
{
    struct Case
    {
        std::string path;
        AttachmentStorage expected;
    };
    const Case cases[] = {
        {"C:\\Projekte\\Plan €.pdf", AttachmentStorage::Exact},    // € is in the code page
        {"/home/p/Grüße?.pdf", AttachmentStorage::Exact},            // a real "?" stays
        {"/home/p/Łódź Plan.pdf", AttachmentStorage::CharacterOutsideCodePage},
        {"/home/p/\xff.pdf", AttachmentStorage::CharacterOutsideCodePage}, // not UTF-8 at all
        {"/" + std::string(254, 'a'), AttachmentStorage::Exact},     // 255 bytes
        {"/" + std::string(255, 'a'), AttachmentStorage::TooLong},
        {"/" + std::string(246, 'a') + "/äöü.pdf", AttachmentStorage::Exact}, // 255 bytes in the file
    };
    for (const auto& c : cases)
        EXPECT_EQ(attachmentStorage(c.path), c.expected) << c.path;
}

TEST(Attachments, OpeningAllowsDocumentsAndConfirmedAddressesOnly)
{
    using enum AttachmentOpening;
    struct Case
    {
        const char* path;
        AttachmentOpening expected;
    };
    // clang-format off
    const Case cases[] = {
        {"C:\\Projekte\\Angebot.PDF", OpenDocument}, {"/home/p/Grundriss.dwg", OpenDocument},
        {"/home/p/Foto.jpeg", OpenDocument},           {"/home/p/Liste.xlsx", OpenDocument},
        {"/home/p/notiz.txt", OpenDocument},
        {"Plan 2:1.pdf", OpenDocument},                // a colon after a blank starts no scheme
        {"C:\\temp\\setup.exe. ", Refuse},            // Windows drops the trailing dot and blank
        {"/home/p/seite.html", Refuse},                // a local page runs scripts
        {"/home/p/setup.exe", Refuse},    {"/home/p/tool.py", Refuse},     {"/home/p/app.AppImage", Refuse},
        {"/home/p/paket.deb", Refuse},    {"/home/p/Makro.docm", Refuse},  {"/home/p/ohne-endung", Refuse},
        {"\\\\server\\x\\link.url", Refuse}, {"C:\\x\\a.reg", Refuse},  {"C:\\x\\hilfe.chm", Refuse},
        {"C:\\x\\a.msc", Refuse},       {"C:\\x\\a.appref-ms", Refuse}, {"C:\\x\\a.settingcontent-ms", Refuse},
        {"C:\\x\\a.jse", Refuse},       {"C:\\x\\a.wsh", Refuse},        {"C:\\x\\image.iso", Refuse},
        {"https://orva.example/datenblatt.pdf", ConfirmAddress}, {"HTTP://orva.example/", ConfirmAddress},
        {"https://orva.example", ConfirmAddress},
        {"https://orva.example/produkte?typ=setup.exe", ConfirmAddress}, // only the path counts
        {"https://x.example/setup.exe?x=1", Refuse}, {"https://x.example/setup.exe#teil", Refuse},
        {"https://x.example/setup%2Eexe", Refuse},   {"http://x.example/a/run.MSI", Refuse},
        {"mailto:info@orva.example?subject=Angebot", ConfirmAddress},
        {"mailto:a@b.example?subject=x&attach=/etc/passwd", Refuse},
        {"mailto:a@b.example?ATTACHMENT=%2Fetc%2Fpasswd", Refuse},
        {"file:///etc/passwd.pdf", Refuse}, {"javascript:alert(1)", Refuse}, {"smb://server/plan.pdf", Refuse},
        {"", Refuse},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(attachmentOpening(c.path), c.expected) << c.path;
}

} // namespace
} // namespace tepa
