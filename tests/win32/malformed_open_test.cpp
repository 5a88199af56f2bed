// The Open command against files that lie about themselves. Each one is
// refused without touching the window (picture, caption, flag), without a
// handle left behind and without hanging; well-formed files of each kind
// still open with the right pixels, so the refusals are not a blanket no.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "tests/shared/image_files.h"
#include "tests/win32/capture_test_support.h"
#include "tests/win32/process_gauges.h"
#include "tests/win32/test_window_env.h"

using namespace grabwell;
using grabwell::test::Bytes;
using grabwell::test::HandleSnapshot;
using grabwell::test::Title;

namespace {

// A hang bound, not a speed target: a decoder that believed a header would
// spend many seconds (or all memory) on it.
constexpr auto kHangBound = std::chrono::seconds(1);

std::wstring Wide(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

class MalformedOpenTest : public test::MainWindowTest {
protected:
    struct Outcome {
        std::chrono::duration<double> elapsed;
        HandleSnapshot handlesBefore;
        HandleSnapshot handlesAfter;
    };

    // Writes the bytes to a file of that name and opens it through the menu
    // command, as a user picking it in the dialog would.
    Outcome Open(const std::string& name, const Bytes& bytes) {
        const bool jpeg = name.find("jpeg") != std::string::npos;
        const auto file = env.folder() / Wide(name + (jpeg ? ".jpg" : ".bmp"));
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        env.ui.fileChoices = {file.wstring()};
        Outcome outcome;
        outcome.handlesBefore = HandleSnapshot::Now();
        const auto start = std::chrono::steady_clock::now();
        window->RunCommand(core::CommandId::mnuOpen);
        outcome.elapsed = std::chrono::steady_clock::now() - start;
        outcome.handlesAfter = HandleSnapshot::Now();
        return outcome;
    }

    // A good picture in the window first, so a refusal that blanked it or
    // reset the caption would show.
    void OpenControl() {
        const test::ValidImage control = test::ValidImages().front();
        Open("control", control.bytes);
        ASSERT_EQ(window->CurrentPicture().size(), (core::Size{control.width, control.height}));
    }
};

}  // namespace

TEST_F(MalformedOpenTest, WellFormedFilesOfEachKindOpenWithTheirPixels) {
    for (const test::ValidImage& image : test::ValidImages()) {
        SCOPED_TRACE(image.name);
        const Outcome outcome = Open(image.name, image.bytes);
        const capture::Picture& picture = window->CurrentPicture();
        ASSERT_EQ(picture.size(), (core::Size{image.width, image.height}));
        EXPECT_NE(Title(window->hwnd()).find(Wide(image.name)), std::wstring::npos);
        EXPECT_LT(outcome.elapsed, kHangBound);
        if (grabwell::testing::PaletteScreen()) continue;  // no exact colours there
        const std::vector<std::uint32_t> pixels = grabwell::testing::ReadPixels(picture.handle()).data;
        ASSERT_EQ(pixels.size(), image.pixels.size());
        int wrong = 0;
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            for (int shift : {0, 8, 16}) {
                const int got = static_cast<int>(pixels[i] >> shift & 0xFF);
                const int want = static_cast<int>(image.pixels[i] >> shift & 0xFF);
                if (std::abs(got - want) > image.tolerance) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << "first pixel " << std::hex << pixels[0] << " want "
                            << image.pixels[0];
    }
}

TEST_F(MalformedOpenTest, EveryMalformedFileIsRefusedAndTheWindowIsUntouched) {
    OpenControl();
    const HBITMAP shown = window->CurrentPicture().handle();
    const std::wstring caption = Title(window->hwnd());
    const bool unsaved = window->PictureUnsaved();
    const test::ProcessGauges processBefore = test::ProcessGauges::Now();

    const auto cases = test::MalformedImages();
    for (const test::ImageCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = Open(c.name, c.bytes);
        EXPECT_EQ(window->CurrentPicture().handle(), shown);
        EXPECT_EQ(Title(window->hwnd()), caption);
        EXPECT_EQ(window->PictureUnsaved(), unsaved);
        EXPECT_EQ(outcome.handlesAfter, outcome.handlesBefore);
        EXPECT_LT(outcome.elapsed, kHangBound);
    }
    EXPECT_EQ(env.ui.openCalls, static_cast<int>(cases.size()) + 1)
        << "every file went through the dialog";
    const test::ProcessGauges processAfter = test::ProcessGauges::Now();
    if (processBefore.handlesKnown && processAfter.handlesKnown) {
        EXPECT_LE(processAfter.handles, processBefore.handles);
    }
    EXPECT_TRUE(env.ui.messages.empty()) << "a refusal is silent";
}

TEST_F(MalformedOpenTest, HostilePixelDataOpensAtTheClaimedSizeOrNotAtAll) {
    OpenControl();
    for (const test::ImageCase& c : test::HostilePayloads()) {
        SCOPED_TRACE(c.name);
        const HBITMAP before = window->CurrentPicture().handle();
        const std::wstring caption = Title(window->hwnd());
        const Outcome outcome = Open(c.name, c.bytes);
        if (window->CurrentPicture().handle() == before) {
            EXPECT_EQ(Title(window->hwnd()), caption);
        } else {
            EXPECT_EQ(window->CurrentPicture().size(), (core::Size{c.width, c.height}));
        }
        std::printf("[ info ] %-40s %s\n", c.name.c_str(),
                    window->CurrentPicture().handle() == before ? "refused" : "opened");
        EXPECT_EQ(outcome.handlesAfter, outcome.handlesBefore);
        EXPECT_LT(outcome.elapsed, kHangBound);
    }
}
