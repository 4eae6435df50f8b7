#include "Formula.h"
#include "NetObjects.h"
#include "TextCodec.h"

#include <gtest/gtest.h>

namespace {

struct TFormulaCase {
    const char* Text; // UTF-8
    std::optional<std::int32_t> Count;
};

void PrintTo(const TFormulaCase& c, std::ostream* out) {
    *out << '"' << c.Text << '"';
}

class FormulaTest : public ::testing::TestWithParam<TFormulaCase> {
protected:
    void SetUp() override {
        CreateVertex(Net, "P1", 3, 0, 0, nullptr);
        CreateVertex(Net, "P2", 0, 0, 0, nullptr);
        CreateVertex(Net, Utf8ToWin1251("Черга"), 4, 0, 0, nullptr);
    }
    TEngineNet Net;
};

TEST_P(FormulaTest, EvaluatesAsTheTextualRulesSay) {
    EXPECT_EQ(EvaluateFormulaText(Utf8ToWin1251(GetParam().Text), Net), GetParam().Count);
}

constexpr std::nullopt_t kInvalid = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Examples, FormulaTest,
    ::testing::Values(
        TFormulaCase{"M(P1)*2", 6}, TFormulaCase{"m(p1) * 2", 6}, TFormulaCase{"М(P1)", 3},
        TFormulaCase{"м(p1)", 3}, TFormulaCase{"2*M(P1)-1", 5}, TFormulaCase{"1-2*M(P1)", -5},
        TFormulaCase{"-3+5", 2}, TFormulaCase{"+4", 4}, TFormulaCase{"7/2", 4},
        TFormulaCase{"5/2", 2}, TFormulaCase{"M(P1)/2", 2}, TFormulaCase{"8/2*2", 8},
        TFormulaCase{"10/M(P2)", kInvalid}, TFormulaCase{"(M(P1))", kInvalid},
        TFormulaCase{"M (P1)", kInvalid}, TFormulaCase{"2*-3", kInvalid},
        TFormulaCase{"3--2", kInvalid}, TFormulaCase{"M(P9)", kInvalid},
        TFormulaCase{"abc", kInvalid}, TFormulaCase{"", kInvalid}, TFormulaCase{"M(P1", 3},
        TFormulaCase{"1/200000*3", 0}, TFormulaCase{"2*1E-3", 0}, TFormulaCase{"1E3+1", 1001},
        TFormulaCase{"M(P1) + 1", kInvalid}, TFormulaCase{"M(P1) +1", 4},
        TFormulaCase{"м(ЧЕРГА)*M(p1)", 12}, TFormulaCase{"M(", kInvalid},
        TFormulaCase{"M", kInvalid}, TFormulaCase{"*2", kInvalid}, TFormulaCase{"2*", kInvalid},
        TFormulaCase{"2.5*2.5", 6}, TFormulaCase{"1e400", kInvalid},
        TFormulaCase{"1e300*1e300", kInvalid}, TFormulaCase{" ", kInvalid},
        TFormulaCase{"2.5E+1-0.5", 24}, TFormulaCase{"-M(P1)*2", -6}, TFormulaCase{"M(P2)-0.5", 0},
        TFormulaCase{"1.5", 2}, TFormulaCase{"2147483647", 2147483647},
        TFormulaCase{"-2147483648", -2147483647 - 1}, TFormulaCase{"M(P1)*1000000000", kInvalid},
        TFormulaCase{"4294967296+M(P1)", kInvalid}));

TEST(Formula, NegativeMarkingInsideAProductMakesTheTextInvalid) {
    TEngineNet net;
    CreateVertex(net, "P", -3, 0, 0, nullptr);
    EXPECT_EQ(EvaluateFormulaText("M(P)*2", net), -6);
    EXPECT_EQ(EvaluateFormulaText("2*M(P)", net), std::nullopt); // "2*-3"
}

TEST(Formula, NameEndsAtTheFirstClosingParenthesis) {
    TEngineNet net;
    CreateVertex(net, "a)b", 5, 0, 0, nullptr);
    CreateVertex(net, "a", 1, 0, 0, nullptr);
    EXPECT_EQ(EvaluateFormulaText("M(a)b)", net), std::nullopt); // "1b)" is not a number
    EXPECT_EQ(EvaluateFormulaText("M(a)", net), 1);
}

TEST(Formula, CheckFindsTheFirstFailingConnectionAndSkipsUnusedFormulas) {
    TEngineNet net;
    TVertex* p1 = CreateVertex(net, "P1", 3, 0, 0, nullptr);
    TVertex* p2 = CreateVertex(net, "P2", 0, 0, 0, nullptr);
    TTransition* t1 = CreateTransition(net, "T1", 0, 0, 0, nullptr);
    TConnection* unused = CreateConnection(net, ctVT, 1, p1, t1, nullptr);
    unused->Formula = "garbage"; // UseFunction off: never looked at
    EXPECT_TRUE(CheckFormulas(net).Valid);

    TConnection* bad = CreateConnection(net, ctTV, 1, p2, t1, nullptr);
    bad->UseFunction = true;
    bad->Formula = "M(P9)";
    TConnection* later = CreateConnection(net, ctVT, 1, p2, t1, nullptr);
    later->UseFunction = true;
    later->Formula = "M (P1)";
    const TFormulaCheck check = CheckFormulas(net);
    EXPECT_FALSE(check.Valid);
    EXPECT_EQ(check.Position, bad->Index);
    EXPECT_EQ(FormulaRefusalMessage(*bad),
              "Неможливо запустити імітацію. Формула зв'язку T1 -> P2 задана неправильно. "
              "Можливо, в формулі неправильно вказані імена вершин.");
    EXPECT_NE(FormulaRefusalMessage(*later).find("зв'язку P2 -> T1 задана"), std::string::npos);
}

} // namespace
