// Modules by name, the runtime's own module and its stock pictures, the environment query.
#include "pixels.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>
#include <string>

namespace {

using namespace win32;

TEST(LoadLibraryA, FindsADllNameNextToTheExecutableAndResolvesEntries)
{
    const auto before = liveHandles(HandleKind::Module);
    const std::string name = std::string(VARNELOOK_TEST_MODULE_NAME) + ".DLL";
    const HMODULE module = LoadLibraryA(name.c_str());
    ASSERT_NE(module, 0u);
    const HMODULE again = LoadLibraryA(name.c_str());
    EXPECT_NE(again, module); // every load is its own handle
    EXPECT_EQ(liveHandles(HandleKind::Module), before + 2);
    using Answer = int (*)(int);
    const auto answer =
        reinterpret_cast<Answer>(GetProcAddress(module, "varnelook_test_module_answer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(20), 41);
    EXPECT_EQ(GetProcAddress(module, "no_such_entry"), nullptr);
    EXPECT_NE(FreeLibrary(module), 0);
    // The library stays loaded while another handle holds it.
    EXPECT_NE(GetProcAddress(again, "varnelook_test_module_answer"), nullptr);
    EXPECT_NE(FreeLibrary(again), 0);
    EXPECT_EQ(FreeLibrary(again), 0);
    EXPECT_EQ(liveHandles(HandleKind::Module), before);
    EXPECT_EQ(LoadLibraryA("NoSuchLibraryAnywhere.dll"), 0u);
    EXPECT_EQ(LoadLibraryA(nullptr), 0u);
}

TEST(LoadLibraryA, TheRuntimesOwnNameIsTheHostInAnyCase)
{
    Environment env;
    ASSERT_EQ(GetEnvironment(&env), 1);
    EXPECT_EQ(env.majorrevision, 9);
    const std::string name = "HostRT" + std::to_string(env.majorrevision) + "0.DLL";
    const HMODULE upper = LoadLibraryA(name.c_str());
    const HMODULE lower = LoadLibraryA("hostrt90.dll");
    ASSERT_NE(upper, 0u);
    ASSERT_NE(lower, 0u);
    EXPECT_TRUE(isRuntimeModule(upper));
    EXPECT_TRUE(isRuntimeModule(lower));
    EXPECT_EQ(GetProcAddress(upper, "FN_ResGetIconID"), nullptr);
    EXPECT_NE(FreeLibrary(upper), 0);
    EXPECT_NE(FreeLibrary(lower), 0);
    EXPECT_FALSE(isRuntimeModule(upper));
}

TEST(StockPictures, TheBuiltInIndexServesTheRuntimesPictures)
{
    useStockPictureIndex(std::nullopt);
    // Bitmaps and icons are numbered apart; a name is found only under its own kind.
    const int exitBitmap = FN_ResGetBitmapID("exit!");
    EXPECT_GT(exitBitmap, 0);
    EXPECT_EQ(FN_ResGetIconID("exit!"), 0);
    EXPECT_GT(FN_ResGetIconID("Asterisk!"), 0);
    EXPECT_EQ(FN_ResGetBitmapID("Asterisk!"), 0);
    EXPECT_EQ(FN_ResGetBitmapID("EXIT!"), 0); // exact names only
    EXPECT_EQ(FN_ResGetBitmapID(nullptr), 0);
    EXPECT_NE(FN_ResGetBitmapID("help!"), FN_ResGetBitmapID("Help!"));

    const HMODULE runtime = LoadLibraryA("HostRT90.DLL");
    const HBITMAP bitmap = LoadBitmapA(runtime, MAKEINTRESOURCEA(exitBitmap));
    ASSERT_NE(bitmap, 0u);
    EXPECT_FALSE(bitmapImage(bitmap).isNull());
    DeleteObject(bitmap);
    const HANDLE icon = LoadImageA(runtime, MAKEINTRESOURCEA(FN_ResGetIconID("Asterisk!")),
                                   IMAGE_ICON, 0, 0, LR_DEFAULTSIZE);
    ASSERT_NE(icon, 0u);
    EXPECT_EQ(iconImage(icon).width(), GetSystemMetrics(SM_CXICON));
    DestroyIcon(icon);
    EXPECT_EQ(LoadBitmapA(runtime, MAKEINTRESOURCEA(9999)), 0u);
    FreeLibrary(runtime);
    const auto* cursor = stockPictures().find("HyperLink!", StockPictureKind::Cursor);
    ASSERT_NE(cursor, nullptr);
    EXPECT_TRUE(cursor->hotspot.has_value());
    EXPECT_FALSE(StockPictureIndex::load(*cursor).isNull());
}

TEST(StockPictures, AnIndexFileIsReadLineByLineAndBadLinesAreSkipped)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(folder.filePath(QStringLiteral("green.bmp")), "BMP"));
    QFile index(folder.filePath(QStringLiteral("index.txt")));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly | QIODevice::Text));
    QTextStream(&index) << "# comment\n"
                        << "\n"
                        << "Green! bitmap 7 green.bmp\n"
                        << "Green! icon 7 green.bmp\n"
                        << "Twice! bitmap 7 green.bmp\n"  // id taken: ignored
                        << "Bad! bitmap zero green.bmp\n" // not a number
                        << "Odd! picture 3 green.bmp\n"   // unknown kind
                        << "Pointer! cursor 4 green.bmp 2 3\n";
    index.close();
    useStockPictureIndex(index.fileName());
    EXPECT_EQ(FN_ResGetBitmapID("Green!"), 7);
    EXPECT_EQ(FN_ResGetIconID("Green!"), 7);
    EXPECT_EQ(FN_ResGetBitmapID("Twice!"), 0);
    EXPECT_EQ(FN_ResGetBitmapID("Bad!"), 0);
    EXPECT_EQ(stockPictures().pictures().size(), 3u);
    const StockPicture* pointer = stockPictures().find(StockPictureKind::Cursor, 4);
    ASSERT_NE(pointer, nullptr);
    EXPECT_EQ(pointer->hotspot, QPoint(2, 3));
    const StockPicture* green = stockPictures().find("Green!", StockPictureKind::Bitmap);
    ASSERT_NE(green, nullptr);
    EXPECT_EQ(StockPictureIndex::load(*green).pixel(3, 3), QColor(Qt::green).rgb());
    useStockPictureIndex(std::nullopt);
    EXPECT_EQ(FN_ResGetBitmapID("Green!"), 0);
}

} // namespace
