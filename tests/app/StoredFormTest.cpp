// The stored-form reader on values the classes' property tables refuse: the error names the
// component, the property and the value, whichever class along the tree owns the property.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/StoredForm.h"
#include "tests/support/GuiTest.h"

namespace app {
namespace {

struct RefusedCase {
    const char* name;
    TStoredComponent component;
    const char* message;
};

class StoredFormReader : public vcl::testing_support::GuiTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(StoredFormReader, RefusesAValueWithTheComponentThePropertyAndTheValue) {
    vcl::TForm* form = NewForm();
    TStoredForm stored;
    stored.components.push_back(GetParam().component);
    try {
        ReadStoredForm(*form, stored);
        ADD_FAILURE() << "the value was applied";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoredFormReader,
    ::testing::Values(
        RefusedCase{"UnknownProperty",
                    {"TSeSkinButton", "Send", "", {{"Left", 8}, {"Colour", TIdent{"clRed"}}}},
                    "Send.Colour = clRed: unknown property"},
        // Performance belongs to the foundation, two classes up from the button.
        RefusedCase{"UnknownIdentifier",
                    {"TSeSkinButton", "Send", "", {{"Performance", TIdent{"kspTurbo"}}}},
                    "Send.Performance = kspTurbo: unknown identifier"},
        RefusedCase{"UnknownSetMember",
                    {"TSeSkinStatusBar", "Status", "", {{"BevelSides", TIdentSet{{"kbsLeft"}, {"kbsMiddle"}}}}},
                    "Status.BevelSides = [kbsLeft, kbsMiddle]: unknown identifier"},
        RefusedCase{"WrongKind",
                    {"TSeSkinLabel", "Title", "", {{"Caption", 12}}},
                    "Title.Caption = 12: a text is wanted"},
        RefusedCase{"PropertyOfAnotherClass",
                    {"TComm", "Comm", "", {{"Caption", std::string_view{"COM"}}}},
                    "Comm.Caption = \"COM\": unknown property"},
        RefusedCase{"UnknownClass",
                    {"TSeSkinGauge", "Gauge", "", {}},
                    "Gauge.ClassName = TSeSkinGauge: unknown class"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace app
