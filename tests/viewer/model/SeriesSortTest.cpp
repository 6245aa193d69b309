// Putting series in order: the three keys, the quicksort, the layout's
// reorder rules, and the orders the peer (pydicom) gives the DICOMDIR test
// series of the corpus (kept in SeriesSortReferences.inc, made by
// tools/make_series_sort_references.py) and a series of shuffled files
// written here.
#include "../Dicom/High/PeerToolSupport.h"
#include "DicomDir.h"
#include "ImageShowTestSupport.h"
#include "LogCapture.h"
#include "SeriesTestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace
{
namespace fs = std::filesystem;

const std::string Study = "1.2.826.0.1.3680043.8.5";
const std::string SeriesOne = Study + ".1";
const std::string SeriesTwo = Study + ".2";

struct SortReference
{
    const char* series;
    const char* key;
    const char* order;
};

const SortReference SortReferences[] = {
#include "SeriesSortReferences.inc"
};

struct KeyInfo
{
    const char* name;
    SeriesShow::enSortKey key;
    unsigned short element;
};

const KeyInfo Keys[] = {{"InstanceNumber", SeriesShow::enByImageNo, 0x0013},
                        {"AcquisitionNumber", SeriesShow::enByAcquisitionNo, 0x0012},
                        {"SliceLocation", SeriesShow::enBySliceLocation, 0x1041}};

// An order of images: file name and key.
using Order = std::vector<std::pair<std::string, double>>;

// What a sort fixes: the sequence of keys, and which images share a key.
void ExpectSameSortedOrder(const Order& ours, const Order& peer, const std::string& what)
{
    ASSERT_EQ(ours.size(), peer.size()) << what;
    std::map<double, std::vector<std::string>> ourTies;
    std::map<double, std::vector<std::string>> peerTies;
    for (std::size_t i = 0; i < ours.size(); ++i)
    {
        EXPECT_EQ(ours[i].second, peer[i].second) << what << " at " << i;
        ourTies[ours[i].second].push_back(ours[i].first);
        peerTies[peer[i].second].push_back(peer[i].first);
    }
    for (auto& [key, files] : ourTies)
    {
        std::sort(files.begin(), files.end());
        std::sort(peerTies[key].begin(), peerTies[key].end());
        EXPECT_EQ(files, peerTies[key]) << what << " key " << key;
    }
}

Order ParseReference(const std::string& text)
{
    Order order;
    std::istringstream items(text);
    for (std::string item; std::getline(items, item, ';');)
    {
        const std::size_t equals = item.find('=');
        order.emplace_back(item.substr(0, equals), std::stod(item.substr(equals + 1)));
    }
    return order;
}

// The series in its order as file names below the folder and keys.
Order OrderOf(const SeriesShow& series, const KeyInfo& key, const std::string& folder)
{
    Order order;
    for (auto* node = series.GetImages().GetHead(); node != nullptr; node = node->next)
    {
        std::string name = node->item->GetDicomImage()->GetFileName();
        name = fs::path(name).lexically_relative(folder).generic_string();
        order.emplace_back(name, node->item->GetDicomValue(0x0020, key.element).Double());
    }
    return order;
}

// pydicom's orders of the files by each key (stable sorts; a missing key
// counts as 0) from one run, by key name; empty without pydicom.
std::map<std::string, Order> PeerOrders(const std::vector<std::string>& files,
                                        const std::string& folder)
{
    const std::string python = GetPydicomPython();
    if (python.empty())
    {
        return {};
    }
    std::string command =
        python + " -W ignore -c \"import sys, pydicom\n"
                 "sets = [(f, pydicom.dcmread(f, stop_before_pixels=True)) for f in sys.argv[1:]]\n"
                 "for key, convert in (('InstanceNumber', int), ('AcquisitionNumber', int), "
                 "('SliceLocation', float)):\n"
                 "    value = lambda ds: float(convert(ds.get(key) or 0))\n"
                 "    for f, ds in sorted(sets, key=lambda s: value(s[1])):\n"
                 "        print(key, f, value(ds))\"";
    for (const std::string& file : files)
    {
        command += " '" + file + "'";
    }
    std::map<std::string, Order> orders;
    for (const std::string& line : RunPeer(command).lines)
    {
        std::istringstream words(line);
        std::string key;
        std::string file;
        double value = 0;
        words >> key >> file >> value;
        orders[key].emplace_back(fs::path(file).lexically_relative(folder).generic_string(), value);
    }
    return orders;
}

ImageShow* OpenFile(ImageLayout& layout, const std::string& path)
{
    Corvane holder;
    EXPECT_TRUE(holder.LoadDicomFile(path.c_str())) << path;
    holder.SetToBeSorted(true);
    auto* show = new ImageShow;
    show->AttachCorvane(holder, 0);
    OpenBySeries(layout, show);
    return show;
}

class SeriesSortTest : public ImageShowTest
{
protected:
    void Open(const std::string& series, int instance, const HandOver& how = {},
              const std::string& slice = "")
    {
        ImageSpec spec{Study, series, series + "." + std::to_string(instance), instance};
        spec.sliceLocation = slice;
        OpenBySeries(m_Layout, MakeLayoutShow(MakeHeaderImage(spec), how));
    }

    ImageLayout m_Layout;
};

} // namespace

TEST(SeriesShowSort, KeysCompareAsTheirTypes)
{
    struct Case
    {
        SeriesShow::enSortKey key;
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        {SeriesShow::enByImageNo, "3", "1", 1},
        {SeriesShow::enByImageNo, "10", "9", 1},
        {SeriesShow::enByImageNo, "2", "2", 0},
        {SeriesShow::enByImageNo, "", "0", 0},
        {SeriesShow::enByAcquisitionNo, "1", "4", -1},
        {SeriesShow::enBySliceLocation, "-2.5", "-2", -1},
        {SeriesShow::enBySliceLocation, "10.25", "10.2", 1},
        {SeriesShow::enBySliceLocation, "-0.0", "0", 0},
    };
    for (const Case& c : cases)
    {
        auto make = [&c](const char* value)
        {
            auto* image = new DICOMImage;
            image->Add(0x0020, 0x0013, c.key == SeriesShow::enByImageNo ? value : "0");
            image->Add(0x0020, 0x0012, c.key == SeriesShow::enByAcquisitionNo ? value : "0");
            image->Add(0x0020, 0x1041, c.key == SeriesShow::enBySliceLocation ? value : "0");
            return std::unique_ptr<ImageShow>(MakeLayoutShow(image));
        };
        const auto a = make(c.a);
        const auto b = make(c.b);
        EXPECT_EQ(SeriesShow::CompareBy(c.key, a.get(), b.get()), c.expected)
            << c.a << " vs " << c.b;
        EXPECT_EQ(SeriesShow::CompareBy(c.key, b.get(), a.get()), -c.expected);
    }
}

TEST(SeriesShowSort, QuicksortOrdersEveryList)
{
    std::mt19937 random(27);
    for (int trial = 0; trial < 60; ++trial)
    {
        SeriesShow series;
        std::vector<int> keys(std::size_t(trial % 31));
        for (int& key : keys)
        {
            key = static_cast<int>(random() % 9);
            series.AddImage(MakeLayoutShow(MakeHeaderImage({Study, SeriesOne, "1.2", key})));
        }
        series.SortBy(SeriesShow::enByImageNo);
        std::sort(keys.begin(), keys.end());
        EXPECT_EQ(InstanceNumbers(series), keys) << "trial " << trial;
    }
}

TEST_F(SeriesSortTest, SortsTheSeriesOnScreenAndPagesToItsStart)
{
    m_Layout.SetPageSize(2);
    for (int instance : {3, 1, 2})
    {
        Open(SeriesOne, instance, {}, std::to_string(instance == 1 ? -2 : -2.5 * instance));
    }
    EXPECT_TRUE(m_Layout.ReorderByImageNo(-1, false));
    EXPECT_EQ(InstanceNumbers(*m_Layout.GetCurrentSeries()), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ShownPositions(m_Layout), (std::vector<int>{0, 1}));
    EXPECT_FALSE(m_Layout.ReorderByImageNo(-1, false)) << "the page did not change";
    // Slice locations -5, -2, -7.5 for instances 2, 1, 3.
    EXPECT_TRUE(m_Layout.ReorderBySliceLocation(-1, false));
    EXPECT_EQ(InstanceNumbers(*m_Layout.GetCurrentSeries()), (std::vector<int>{3, 2, 1}));
    EXPECT_TRUE(m_Layout.ReverseOrder(-1));
    EXPECT_EQ(InstanceNumbers(*m_Layout.GetCurrentSeries()), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(m_Layout.ReorderByAcquisitionNo(-1, true));
    EXPECT_FALSE(m_Layout.ReverseOrder(7));
}

TEST_F(SeriesSortTest, OnlyQualifyingSeriesOfTheTransactionAreSorted)
{
    for (int instance : {3, 1, 2})
    {
        Open(SeriesOne, instance, {1, true, true});
        Open(SeriesTwo, instance, {1, true, false});
    }
    Matrix_ImageShow& series = m_Layout.GetSeries();
    // A series of another transaction qualifies but is not sorted.
    EXPECT_TRUE(series.ReorderByImageNo(4, false));
    EXPECT_EQ(InstanceNumbers(*series.GetSeriesAt(0)), (std::vector<int>{3, 1, 2}));
    EXPECT_FALSE(m_Layout.ReorderByImageNo(4, false));
    // Series two is not to be sorted.
    EXPECT_TRUE(m_Layout.ReorderByImageNo(1, false));
    EXPECT_EQ(InstanceNumbers(*series.GetSeriesAt(0)), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(InstanceNumbers(*series.GetSeriesAt(1)), (std::vector<int>{3, 1, 2}));
    // Nothing qualifies any more once series one is gone, unless forced.
    m_Layout.CloseCurrentSeries();
    EXPECT_FALSE(series.ReorderByImageNo(-1, false));
    EXPECT_TRUE(series.ReorderByImageNo(-1, true));
    EXPECT_EQ(InstanceNumbers(*series.GetSeriesAt(0)), (std::vector<int>{1, 2, 3}));
}

TEST_F(SeriesSortTest, APageLaidOutByAHangingProtocolIsNeverResorted)
{
    for (int instance : {3, 1, 2})
    {
        Open(SeriesOne, instance, {1, true, false});
        Open(SeriesTwo, instance, {1, true, true});
    }
    LogCapture log;
    EXPECT_FALSE(m_Layout.ReorderByImageNo(-1, true));
    EXPECT_TRUE(
        log.Contains("Leave ImageLayout::ReorderByImageNo, HP is NOT supported for sorting"));
    EXPECT_EQ(InstanceNumbers(*m_Layout.GetCurrentSeries()), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(InstanceNumbers(*m_Layout.GetSeries().GetSeriesAt(1)), (std::vector<int>{1, 2, 3}))
        << "the series not on screen are sorted";
    log.Clear();
    EXPECT_FALSE(m_Layout.ReorderBySliceLocation(-1, true));
    EXPECT_TRUE(
        log.Contains("Leave ImageLayout::ReorderBySliceLocation, HP is NOT supported for sorting"));
}

TEST_F(SeriesSortTest, DicomdirSeriesSortAsThePeerSortsThem)
{
    const fs::path folder = fs::path(SUITE_CORPUS_DIR) / "pydicom" / "test_files" / "dicomdirtests";
    if (!fs::is_directory(folder))
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    DicomDir dir;
    ASSERT_EQ(dir.ReadDicomDir((folder / "DICOMDIR").string().c_str()), 1);
    for (DicomDir::Iterator patient(dir); patient; ++patient)
        for (DicomDir::Iterator study(patient); study; ++study)
            for (DicomDir::Iterator series(study); series; ++series)
                for (DicomDir::Iterator image(series); image; ++image)
                {
                    std::string name = static_cast<const char*>(image().GetLettra(0x0004, 0x1500));
                    std::replace(name.begin(), name.end(), '\\', '/');
                    OpenFile(m_Layout, (folder / name).string());
                }
    ASSERT_EQ(m_Layout.GetNbOfSeries(), 13);
    int compared = 0;
    for (const SortReference& reference : SortReferences)
    {
        const KeyInfo& key =
            *std::find_if(std::begin(Keys), std::end(Keys),
                          [&](const KeyInfo& k) { return std::string(k.name) == reference.key; });
        const int index = m_Layout.FindSeriesBySeriesUID(reference.series);
        ASSERT_GE(index, 0) << reference.series;
        SeriesShow& series = *m_Layout.GetSeries().GetSeriesAt(index);
        series.SortBy(key.key);
        ExpectSameSortedOrder(OrderOf(series, key, folder.string()),
                              ParseReference(reference.order),
                              std::string(reference.series) + " by " + key.name);
        ++compared;
    }
    EXPECT_EQ(compared, 3 * m_Layout.GetNbOfSeries());
}

TEST_F(SeriesSortTest, ShuffledFilesSortAsThePeerSortsThem)
{
    // A folder of this process's own: test programs of other checkouts may run at the same time.
    const fs::path folder =
        fs::path(::testing::TempDir()) / ("quillon_shuffled_series_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::vector<int> instances(24);
    for (int i = 0; i < 24; ++i)
    {
        instances[std::size_t(i)] = i + 1;
    }
    std::shuffle(instances.begin(), instances.end(), std::mt19937(1103));
    std::vector<std::string> files;
    for (std::size_t i = 0; i < instances.size(); ++i)
    {
        const int instance = instances[i];
        ImageSpec spec{Study, SeriesOne, SeriesOne + "." + std::to_string(instance), instance};
        spec.acquisition = std::to_string(instance % 4 + 1);
        // -6 to 5.5 in steps of 0.5: -2.5 and -2 among them.
        spec.sliceLocation = std::to_string((instance * 5 % 24) * 0.5 - 6.0);
        std::unique_ptr<DICOMImage> image(MakeHeaderImage(spec));
        files.push_back((folder / ("IMG" + std::to_string(100 + i))).string());
        ASSERT_NE(image->WriteFile(files.back().c_str(), 1), 0);
    }
    for (const std::string& file : files)
    {
        OpenFile(m_Layout, file);
    }
    ASSERT_EQ(m_Layout.GetNbOfImage(), 24);
    // An image whose data set lost its Instance Number is read again first.
    m_Layout.GetImageAt(5)->GetDicomImage()->Delete(0x0020, 0x0013);
    std::map<std::string, Order> peers = PeerOrders(files, folder.string());
    for (const KeyInfo& key : Keys)
    {
        SeriesShow& series = *m_Layout.GetCurrentSeries();
        series.SortBy(key.key);
        const Order ours = OrderOf(series, key, folder.string());
        Order sorted = ours;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
        EXPECT_EQ(ours, sorted) << key.name;
        if (peers.empty())
        {
            continue;
        }
        ExpectSameSortedOrder(ours, peers[key.name], key.name);
    }
    fs::remove_all(folder);
    if (peers.empty())
    {
        GTEST_SKIP() << "pydicom is not installed: sorted, not compared";
    }
}
