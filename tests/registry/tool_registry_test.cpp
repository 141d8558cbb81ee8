// The table of registered tools: every registration agrees with the launch
// table, documents find their tool by content before name, and dialogs are
// found for the windows that own them.
#include "base/file_io.h"
#include "model/fake_host.h"
#include "registry/launch_table.h"
#include "registry/tool_registry.h"
#include "support/plane_test_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <unistd.h>

using namespace qx;

namespace {

std::string temp(const std::string& name) { return "/tmp/qx_registry_" + std::to_string(::getpid()) + "_" + name; }

} // namespace

TEST(ToolRegistry, EveryRegistrationMatchesItsLaunchRow)
{
    std::set<std::string> names;
    std::set<int32_t> kinds;
    std::set<int> rows;
    ASSERT_FALSE(registeredTools().empty());
    for (const ToolDescriptor* t : registeredTools()) {
        const int row = rowOfTool(*t);
        ASSERT_GE(row, 0) << t->batchName << ": command " << t->launchCommand << " is not in the launch table";
        EXPECT_EQ(toolOfRow(row), t);
        EXPECT_TRUE(rows.insert(row).second) << "two tools on row " << row;
        EXPECT_TRUE(names.insert(t->batchName).second) << t->batchName;
        EXPECT_TRUE(kinds.insert(t->documentKind).second) << t->documentKind;
        EXPECT_EQ(toolByBatchName(t->batchName), t);
        ASSERT_NE(t->create, nullptr);
        EXPECT_NE(t->create(), nullptr);
        for (const BatchOption& o : t->batchOptions)
            EXPECT_EQ(std::string(o.name).rfind("--", 0), 0u) << o.name;
    }
    EXPECT_EQ(toolByBatchName("fractal"), nullptr);
    EXPECT_EQ(toolByBatchName(""), nullptr);
    EXPECT_EQ(toolNames(", "), "mandel, julia, ppc, ppr, lya, dyc, dyr, web, ifc, ifr, bif, srf, dim");
}

TEST(ToolRegistry, DocumentsFindTheirToolByKindBeforeExtension)
{
    int row = 0;
    // A Julia document saved under a Mandelbrot name still opens as Julia.
    const std::string misnamed = temp("julia.man");
    ASSERT_EQ(toolByBatchName("julia")->create()->writeDocument(misnamed), 0);
    EXPECT_EQ(toolOfDocument(misnamed, row), toolByBatchName("julia"));
    EXPECT_EQ(row, kRowMandelbrot); // what the name alone says
    std::remove(misnamed.c_str());
    // Missing or foreign files go by their extension.
    EXPECT_EQ(toolOfDocument("/nonexistent/a.JUL", row), toolByBatchName("julia"));
    const std::string foreign = temp("text.man");
    ASSERT_TRUE(writeFileAtomically(foreign, std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'}));
    EXPECT_EQ(toolOfDocument(foreign, row), toolByBatchName("mandel"));
    std::remove(foreign.c_str());
    EXPECT_EQ(toolOfDocument("/nonexistent/b.ifc", row), toolByBatchName("ifc"));
    EXPECT_EQ(row, dispatchByExtension("b.ifc").row);
    EXPECT_EQ(toolOfDocument("/nonexistent/c.txt", row), nullptr);
    EXPECT_EQ(row, -1);
}

TEST(ToolRegistry, DialogFormsComeFromTheToolThatOwnsTheWindow)
{
    test::PlaneTestWin plane;
    EXPECT_EQ(dialogFormFor(plane, "JPARAM"), nullptr);
    auto julia = toolByBatchName("julia")->create();
    EXPECT_EQ(dialogFormFor(*julia, "NOSUCH"), nullptr);
    auto form = dialogFormFor(*julia, "JPARAM");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->title(), "settings");
    const FormState s = form->load();
    ASSERT_EQ(s.fields.size(), 3u);
    ASSERT_EQ(s.choices.size(), 5u);
    EXPECT_TRUE(s.choices[2].visible); // inverse iteration draws Julia sets
    EXPECT_FALSE(dialogFormFor(*toolByBatchName("mandel")->create(), "JPARAM")->load().choices[2].visible);
    EXPECT_EQ(s.choices[1].besideField, 2); // the thickness sits beside "DEM"
    // A refused entry changes nothing; an accepted one reaches the window.
    FakeHost host;
    julia->attach(host);
    EXPECT_EQ(form->apply({"4", "1", "0.5"}, 0), 1000 + 17);
    EXPECT_EQ(form->load().fields[1].text, s.fields[1].text);
    EXPECT_EQ(form->apply({"4", "300", "0.5"}, 3), 0);
    EXPECT_EQ(form->load().fields[0].text, "256.00"); // blend raises the threshold
    EXPECT_EQ(julia->maxReps(), 300);
    EXPECT_NE(form->apply({"4", "300"}, 0), 0); // a field missing
}
