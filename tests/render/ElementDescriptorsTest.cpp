#include "render/ElementDescriptors.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

using Kind = GraphicDescriptor::Kind;

struct GraphicCase {
    const char* descriptor;
    Kind kind;
    std::array<int32_t, 4> numbers;
    const char* last;
};

class GraphicDescriptorTest : public ::testing::TestWithParam<GraphicCase> {};

TEST_P(GraphicDescriptorTest, Parses)
{
    const GraphicCase& c = GetParam();
    const GraphicDescriptor d = ParseGraphicDescriptor(c.descriptor);
    EXPECT_EQ(d.kind, c.kind) << c.descriptor;
    EXPECT_EQ(d.numbers, c.numbers) << c.descriptor;
    EXPECT_EQ(d.last, c.last) << c.descriptor;
}

INSTANTIATE_TEST_SUITE_P(
    Descriptors, GraphicDescriptorTest,
    ::testing::Values(
        GraphicCase{"bar(0,56,8,100,memusage)", Kind::Bar, {0, 56, 8, 100}, "memusage"},
        GraphicCase{"bar( 1, -2 ,3x,4,$memusage$)", Kind::Bar, {1, -2, 3, 4}, "$memusage$"},
        GraphicCase{"bar(0,0,8,100,mbmtemp(0))", Kind::Bar, {0, 0, 8, 100}, "mbmtemp(0"},
        GraphicCase{"bar(0,0,8,100, spaced name )", Kind::Bar, {0, 0, 8, 100}, " spaced name "},
        GraphicCase{"barchart(1,2,3,4,x)", Kind::Bar, {1, 2, 3, 4}, "x"},
        GraphicCase{"graph(0,0,99,50,memusage)", Kind::Graph, {0, 0, 99, 50}, "memusage"},
        GraphicCase{"text(40,20,1,$time$)", Kind::Text, {40, 20, 1, 0}, "$time$"},
        GraphicCase{"text(2,20,0,\"Hello, world\")", Kind::Text, {2, 20, 0, 0}, "\"Hello, world\""},
        GraphicCase{"text(0,0,0,\"a(b)\")", Kind::Text, {0, 0, 0, 0}, "\"a(b"},
        GraphicCase{"text(0,0,0,\"no close", Kind::Text, {0, 0, 0, 0}, "\"no close"},
        GraphicCase{"bar(5)", Kind::Bar, {5, 0, 0, 0}, ""},
        GraphicCase{"bar7,8,9,10,v", Kind::Bar, {0, 8, 9, 10}, "v"},
        GraphicCase{"Bar(0,0,8,100,memusage)", Kind::None, {0, 0, 0, 0}, ""},
        GraphicCase{" bar(0,0,8,100,memusage)", Kind::None, {0, 0, 0, 0}, ""},
        GraphicCase{"", Kind::None, {0, 0, 0, 0}, ""}));

struct IconCase {
    const char* descriptor;
    IconDescriptor::Kind kind;
    int32_t x, y;
    const char* file;
};

class IconDescriptorTest : public ::testing::TestWithParam<IconCase> {};

TEST_P(IconDescriptorTest, Parses)
{
    const IconCase& c = GetParam();
    const IconDescriptor d = ParseIconDescriptor(c.descriptor);
    EXPECT_EQ(d.kind, c.kind) << c.descriptor;
    EXPECT_EQ(d.x, c.x) << c.descriptor;
    EXPECT_EQ(d.y, c.y) << c.descriptor;
    EXPECT_EQ(d.file, c.file) << c.descriptor;
}

using IconKind = IconDescriptor::Kind;
INSTANTIATE_TEST_SUITE_P(
    Descriptors, IconDescriptorTest,
    ::testing::Values(IconCase{"winampstatus(100,0)", IconKind::PlayerState, 100, 0, ""},
                      IconCase{"textvar(100,0)", IconKind::PlayerState, 100, 0, ""},
                      IconCase{"textvariable(3, 4)", IconKind::PlayerState, 3, 4, ""},
                      IconCase{"winampchannels(110,0)", IconKind::Channel, 110, 0, ""},
                      IconCase{"images\\play.bmp(7,-9)", IconKind::File, 7, -9, "images\\play.bmp"},
                      IconCase{"my icon.bmp( 1 , 2 )", IconKind::File, 1, 2, "my icon.bmp"},
                      IconCase{"plain.bmp", IconKind::File, 0, 0, "plain.bmp"},
                      IconCase{"Winampstatus(1,2)", IconKind::File, 1, 2, "Winampstatus"},
                      IconCase{"x(5", IconKind::File, 5, 0, "x"}));

}  // namespace
}  // namespace dotvane
