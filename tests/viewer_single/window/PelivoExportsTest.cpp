#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>

namespace
{

// Both viewer libraries loaded into one process, as a host may load them.
class BothViewerLibraries : public testing::Test
{
protected:
    void SetUp() override
    {
        m_quillon = dlopen(SUITE_OUTPUT_DIR "/libQuillon.so", RTLD_NOW | RTLD_LOCAL);
        m_pelivo = dlopen(SUITE_OUTPUT_DIR "/libPelivo.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_quillon, nullptr) << dlerror();
        ASSERT_NE(m_pelivo, nullptr) << dlerror();
    }

    void TearDown() override
    {
        if (m_pelivo != nullptr)
        {
            dlclose(m_pelivo);
        }
        if (m_quillon != nullptr)
        {
            dlclose(m_quillon);
        }
    }

    void* m_quillon = nullptr;
    void* m_pelivo = nullptr;
};

} // namespace

TEST_F(BothViewerLibraries, SingleViewLibraryExportsItsOwnSurfaceOnly)
{
    EXPECT_NE(dlsym(m_pelivo, "ViewerTest"), nullptr);
    // pelivo::_info(const char*, ...)
    EXPECT_NE(dlsym(m_pelivo, "_ZN6pelivo5_infoEPKcz"), nullptr);
    // The shared settings reader: exported by the grid viewer, hidden in the
    // single-view library in both its namespaced and its global spelling.
    const char* const load = "_ZN10XmlSetting4LoadEPKc";
    EXPECT_NE(dlsym(m_quillon, load), nullptr);
    EXPECT_EQ(dlsym(m_pelivo, load), nullptr);
    EXPECT_EQ(dlsym(m_pelivo, "_ZN6pelivo10XmlSetting4LoadEPKc"), nullptr);
    EXPECT_EQ(dlsym(m_pelivo, "_ZN6pelivo11FolderOfPathEPKc"), nullptr);
}

TEST_F(BothViewerLibraries, EachLibraryHasItsOwnLogFrontEnds)
{
    const auto quillonInfo = dlsym(m_quillon, "_ZN7quillon5_infoEPKcz");
    const auto pelivoInfo = dlsym(m_pelivo, "_ZN6pelivo5_infoEPKcz");
    ASSERT_NE(quillonInfo, nullptr);
    ASSERT_NE(pelivoInfo, nullptr);
    EXPECT_NE(quillonInfo, pelivoInfo);
    Dl_info quillonPlace{};
    Dl_info pelivoPlace{};
    ASSERT_NE(dladdr(quillonInfo, &quillonPlace), 0);
    ASSERT_NE(dladdr(pelivoInfo, &pelivoPlace), 0);
    EXPECT_NE(std::string(quillonPlace.dli_fname).find("libQuillon.so"), std::string::npos);
    EXPECT_NE(std::string(pelivoPlace.dli_fname).find("libPelivo.so"), std::string::npos);
}
