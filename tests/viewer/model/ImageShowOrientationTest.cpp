// ImageShow orientation: the reduction of the history, flips, quarter turns
// and invert on a 3 x 2 image against the expected pixel order, their
// replay when the frame is decoded again, and the side labels.
#include "ImageShowTestSupport.h"
#include "LogCapture.h"
#include "ORoiCalliper.h"
#include "ORoiDicomBinaryOverlay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// a b c
// d e f
const std::vector<std::uint8_t> Grid = {10, 60, 110, 160, 210, 250};

ImageShow* MakeShow(DICOMImage* image = nullptr)
{
    auto* show = new ImageShow;
    show->AttachCorvane(Corvane(image != nullptr ? image : MakeImage(2, 3, 8, "MONOCHROME2", Grid)),
                        0);
    return show;
}

// The full view at 1:1.
DIBPixels Render(ImageShow& show)
{
    show.BuildFullViewDIB();
    return ReadDIB(show.GetDIB());
}

// The letters of the rendered grid, row by row, by the levels of the
// unturned rendering.
std::string Letters(const DIBPixels& pixels, const DIBPixels& unturned)
{
    std::string letters;
    for (int y = 0; y < pixels.height; ++y)
    {
        for (int x = 0; x < pixels.width; ++x)
        {
            char letter = '?';
            for (int i = 0; i < 6; ++i)
            {
                if (unturned.samples[i] == pixels.At(x, y))
                {
                    letter = static_cast<char>('a' + i);
                }
            }
            letters += letter;
        }
        letters += y + 1 < pixels.height ? "/" : "";
    }
    return letters;
}

void Apply(ImageShow& show, const std::string& operations)
{
    for (char operation : operations)
    {
        switch (operation)
        {
        case 'H':
            show.FlipHorizontal();
            break;
        case 'V':
            show.FlipVertical();
            break;
        case 'R':
            show.Rotate(1);
            break;
        case 'L':
            show.Rotate(-1);
            break;
        case 'T':
            show.Rotate(2);
            break;
        default:
            break;
        }
    }
}

struct Sequence
{
    const char* operations;
    const char* hvr;
    const char* letters;
};

// R is a quarter turn counter-clockwise, L one clockwise, T a half turn.
const Sequence Sequences[] = {
    {"", "", "abc/def"},      {"H", "H", "cba/fed"},    {"V", "V", "def/abc"},
    {"R", "R", "cf/be/ad"},   {"RR", "VH", "fed/cba"},  {"RRR", "HVR", "da/eb/fc"},
    {"L", "HVR", "da/eb/fc"}, {"HR", "HR", "ad/be/cf"}, {"RH", "RH", "fc/eb/da"},
    {"HH", "", "abc/def"},    {"RRRR", "", "abc/def"},  {"RRRH", "HR", "ad/be/cf"},
    {"T", "HV", "fed/cba"},   {"HVHV", "", "abc/def"},  {"VRH", "R", "cf/be/ad"},
};

} // namespace

TEST(ImageShowHVR, HistoriesReduceToTheirCanonicalWords)
{
    struct Case
    {
        const char* letters;
        const char* reduced;
    };
    const Case cases[] = {
        {"HH", ""},   {"VV", ""},     {"RR", "VH"}, {"HV", "HV"},   {"VHR", "HVR"},
        {"RVR", "V"}, {"HVRH", "HR"}, {"HVRR", ""}, {"HVRV", "VR"}, {"RRRR", ""},
        {"HHHH", ""}, {"VRHV", "RV"}, {"RHRH", ""}, {"HRHRH", "H"}, {"H", "H"},
    };
    for (const Case& c : cases)
    {
        ImageShow show;
        for (const char* letter = c.letters; *letter != 0; ++letter)
        {
            // The letters as they are recorded, one reduction after each.
            if (*letter == 'H')
                show.FlipHorizontal();
            else if (*letter == 'V')
                show.FlipVertical();
            else
                show.Rotate(1);
        }
        EXPECT_STREQ(show.GetHVR(), c.reduced) << c.letters;
    }
}

TEST(ImageShowHVR, RotateTakesItsTurnsModuloFour)
{
    struct Case
    {
        int turns;
        const char* hvr;
    };
    const Case cases[] = {{0, ""},  {1, "R"},    {2, "HV"},  {3, "HVR"}, {4, ""},
                          {5, "R"}, {-1, "HVR"}, {-2, "HV"}, {-7, "R"}};
    for (const Case& c : cases)
    {
        ImageShow show;
        show.Rotate(c.turns);
        EXPECT_STREQ(show.GetHVR(), c.hvr) << c.turns;
        EXPECT_EQ(show.IsModified(), c.hvr[0] != 0) << c.turns;
    }
}

TEST(ImageShowHVR, PatientOrientationWords)
{
    EXPECT_EQ(ImageShow::GetOrientationWord(0.0, -1.0, 0.0), Lettra("A"));
    EXPECT_EQ(ImageShow::GetOrientationWord(0.7, 0.0, -0.71), Lettra("FL"));
    EXPECT_EQ(ImageShow::GetOrientationWord(0.00005, -0.00009, 0.0), Lettra(""));
    EXPECT_EQ(ImageShow::GetOrientationWord(0.7071, 0.7071, 0.0), Lettra(""));
    EXPECT_EQ(ImageShow::GetOrientationWord(1.0, 0.0, 0.0), Lettra("L"));
    EXPECT_EQ(ImageShow::GetOrientationWord(-0.6, 0.5, 0.3), Lettra("RPH"));
    EXPECT_EQ(ImageShow::GetOppositeWord("HFL"), Lettra("FHR"));
    EXPECT_EQ(ImageShow::GetOppositeWord("APLR"), Lettra("PARL"));
}

TEST_F(ImageShowTest, FlipsAndTurnsPutThePixelsInTheExpectedOrder)
{
    std::unique_ptr<ImageShow> plain(MakeShow());
    const DIBPixels unturned = Render(*plain);
    ASSERT_EQ(unturned.width, 3);
    ASSERT_EQ(unturned.height, 2);
    ASSERT_EQ(Letters(unturned, unturned), "abc/def");
    for (const Sequence& sequence : Sequences)
    {
        std::unique_ptr<ImageShow> show(MakeShow());
        Render(*show);
        Apply(*show, sequence.operations);
        EXPECT_STREQ(show->GetHVR(), sequence.hvr) << sequence.operations;
        EXPECT_EQ(Letters(Render(*show), unturned), sequence.letters) << sequence.operations;

        // Decoded again after a release, the frame takes the same turns.
        show->ReleaseImageData();
        EXPECT_EQ(show->GetMetaImage()->GetMatrix(), nullptr);
        EXPECT_EQ(Letters(Render(*show), unturned), sequence.letters)
            << sequence.operations << " after a release";

        // Turned before its first decode, an image shows the same.
        std::unique_ptr<ImageShow> early(MakeShow());
        Apply(*early, sequence.operations);
        EXPECT_EQ(Letters(Render(*early), unturned), sequence.letters)
            << sequence.operations << " before the first decode";
    }
}

TEST_F(ImageShowTest, InvertComplementsTheLevelsAndAnInverseImageMapsStraightAgain)
{
    std::unique_ptr<ImageShow> show(MakeShow());
    const DIBPixels straight = Render(*show);
    show->Invert();
    const DIBPixels inverted = Render(*show);
    ASSERT_EQ(inverted.samples.size(), straight.samples.size());
    for (std::size_t i = 0; i < straight.samples.size(); ++i)
    {
        EXPECT_EQ(inverted.samples[i], 255 - straight.samples[i]) << i;
    }

    DICOMImage* mono1 = MakeImage(2, 3, 8, "MONOCHROME1", Grid);
    std::unique_ptr<ImageShow> inverse(MakeShow(mono1));
    const DIBPixels shown = Render(*inverse);
    EXPECT_TRUE(inverse->IsInverse());
    EXPECT_EQ(shown.samples, inverted.samples);
    inverse->Invert();
    EXPECT_EQ(Render(*inverse).samples, straight.samples);
}

TEST_F(ImageShowTest, SideLabelsAndTheOverlayPlaneTurnOnceAcrossReloads)
{
    // A 4 x 2 image whose rows run to the patient's left and columns to
    // the feet, with an overlay plane over all of it marking the top right
    // pixel.
    DICOMImage* image = MakeImage(2, 4, 8, "MONOCHROME2", {1, 2, 3, 4, 5, 6, 7, 8});
    image->Add(0x0020, 0x0037, "1\\0\\0\\0\\0\\-1");
    image->Add(0x6000, 0x0010, static_cast<unsigned short>(2));
    image->Add(0x6000, 0x0011, static_cast<unsigned short>(4));
    image->Add(0x6000, 0x0040, "G ");
    const short origin[2] = {1, 1};
    image->Add(0x6000, 0x0050, origin, 2);
    image->Add(0x6000, 0x0100, static_cast<unsigned short>(1));
    image->Add(0x6000, 0x0102, static_cast<unsigned short>(0));
    const unsigned short bits[1] = {0x08}; // pixel (3, 0)
    image->Add(0x6000, 0x3000, bits, 1);
    std::unique_ptr<ImageShow> show(MakeShow(image));
    show->Rotate(1); // before the first decode
    Render(*show);
    auto label = [&](ImageShow::enSide side)
    {
        Array<Lettra>& list = show->GetSideLabels(side);
        return list.IsEmpty() ? Lettra("-") : list.GetAt(0);
    };
    auto overlay = [&]() -> const ORoiDicomBinaryOverlay*
    {
        EXPECT_EQ(show->GetAnnotations().GetCount(), 1);
        return show->GetAnnotations().IsEmpty()
                   ? nullptr
                   : dynamic_cast<ORoiDicomBinaryOverlay*>(show->GetAnnotations().GetAt(0).get());
    };
    auto marked = [&](int x, int y)
    {
        const ORoiDicomBinaryOverlay* plane = overlay();
        return plane != nullptr && plane->GetMask().GetPixelValue(x, y) != 0;
    };
    // Unturned: left R, right L, top H, bottom F; a quarter turn
    // counter-clockwise brings the right side up, and the top right pixel
    // to the top left.
    const std::vector<Lettra> turned = {label(ImageShow::enLeft), label(ImageShow::enRight),
                                        label(ImageShow::enTop), label(ImageShow::enBottom)};
    EXPECT_EQ(turned, (std::vector<Lettra>{"H", "F", "L", "R"}));
    ASSERT_NE(overlay(), nullptr);
    RECT rect{};
    overlay()->GetRect(&rect);
    EXPECT_EQ(std::vector<LONG>({rect.left, rect.top, rect.right, rect.bottom}),
              std::vector<LONG>({0, 0, 2, 4}));
    EXPECT_TRUE(marked(0, 0));
    for (int reload = 0; reload < 2; ++reload)
    {
        show->ReleaseImageData();
        Render(*show);
        EXPECT_EQ(label(ImageShow::enLeft), turned[0]);
        EXPECT_EQ(label(ImageShow::enTop), turned[2]);
        EXPECT_TRUE(marked(0, 0));
    }
    show->FlipHorizontal();
    EXPECT_EQ(label(ImageShow::enLeft), turned[1]);
    EXPECT_TRUE(marked(1, 0));
    EXPECT_FALSE(marked(0, 0));
}

// An image whose pixels were released (one off the page, turned by a
// command for the whole series) moves its annotations as a decoded one
// does: about its own size, not about an empty one.
TEST_F(ImageShowTest, AnnotationsOfAReleasedImageTurnAsThoseOfADecodedOne)
{
    for (const Sequence& sequence : Sequences)
    {
        std::unique_ptr<ImageShow> decoded(MakeShow());
        std::unique_ptr<ImageShow> released(MakeShow());
        for (ImageShow* show : {decoded.get(), released.get()})
        {
            Render(*show);
            auto* calliper = new ORoiCalliper(show);
            calliper->SetLine({0, 0}, {2, 1});
            show->AddAnnotation(calliper);
        }
        released->ReleaseImageData();
        ASSERT_EQ(released->GetMetaImage()->GetMatrix(), nullptr);
        Apply(*decoded, sequence.operations);
        Apply(*released, sequence.operations);
        POINT expected[2];
        POINT moved[2];
        static_cast<ORoiCalliper*>(decoded->GetAnnotations().GetHead()->item.get())
            ->GetLine(expected[0], expected[1]);
        static_cast<ORoiCalliper*>(released->GetAnnotations().GetHead()->item.get())
            ->GetLine(moved[0], moved[1]);
        for (int end = 0; end < 2; ++end)
        {
            EXPECT_EQ(moved[end].x, expected[end].x) << sequence.operations << " end " << end;
            EXPECT_EQ(moved[end].y, expected[end].y) << sequence.operations << " end " << end;
        }
    }
}
