#include "Formula.h"
#include "NetObjects.h"
#include "TextCodec.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

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

TEST_P(FormulaTest, CompiledFormulaCountsAsTheText) {
    const std::string text = Utf8ToWin1251(GetParam().Text);
    EXPECT_EQ(EvaluateCompiledFormula(*CompileFormula(text), Net), GetParam().Count);
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

// Formulas put together at random from pieces that meet at the edges of the textual rules:
// references that are well and badly formed, markings below zero, exponents, blanks, stray
// letters and operators side by side. The compiled formula must give what the text gives.
class FormulaAgreement : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"P1", "p2", "N", "Big", "Zero"})
            CreateVertex(Net, name, 0, 0, 0, nullptr);
        CreateVertex(Net, Utf8ToWin1251("Черга"), 0, 0, 0, nullptr);
    }

    void SetRandomMarkings() {
        static const std::int32_t markings[] = {0, 1, 2, 3, 7, -1, -3, 10, 1000000, 2147483647};
        for (const auto& vertex : Net.Vertices)
            vertex->Marking = markings[Random() % std::size(markings)];
    }

    std::string RandomFormula(std::size_t pieces) {
        static const std::vector<std::string> parts = {"M(P1)",
                                                       "m(p2)",
                                                       Utf8ToWin1251("М(черга)"),
                                                       Utf8ToWin1251("м(N)"),
                                                       "M(Big)",
                                                       "M(Zero)",
                                                       "M(X)",
                                                       "M(",
                                                       "M",
                                                       "M(P1",
                                                       "0",
                                                       "1",
                                                       "2",
                                                       "7",
                                                       "10",
                                                       "2.5",
                                                       ".5",
                                                       "1e3",
                                                       "1E-3",
                                                       "2e+1",
                                                       "e",
                                                       "1e",
                                                       "E5",
                                                       "+",
                                                       "-",
                                                       "*",
                                                       "/",
                                                       "*",
                                                       "/",
                                                       " ",
                                                       "(",
                                                       ")",
                                                       "1e300",
                                                       "3",
                                                       "0.1",
                                                       "5"};
        std::string formula;
        for (std::size_t i = 0; i < pieces; ++i)
            formula += parts[Random() % parts.size()];
        return formula;
    }

    void ExpectAgreement(const std::string& formula) {
        EXPECT_EQ(EvaluateCompiledFormula(*CompileFormula(formula), Net),
                  EvaluateFormulaText(formula, Net))
            << '"' << Win1251ToUtf8(formula) << '"';
    }

    std::mt19937 Random{418};
    TEngineNet Net;
};

TEST_F(FormulaAgreement, ShortRandomFormulas) {
    for (int i = 0; i < 30000; ++i) {
        SetRandomMarkings();
        ExpectAgreement(RandomFormula(1 + Random() % 8));
    }
}

TEST_F(FormulaAgreement, LongChainsOfProductsAndQuotients) {
    // Valid chains, so that the comparison reaches the count and not only the first error.
    static const char* const operands[] = {"M(P1)", "M(p2)", "2", "0.5", "3", "M(Big)", "1e-3"};
    static const char* const operators[] = {"*", "/", "*", "/", "+", "-"};
    for (int i = 0; i < 300; ++i) {
        SetRandomMarkings();
        std::string formula = operands[Random() % std::size(operands)];
        const std::size_t length = 1 + Random() % 200;
        for (std::size_t k = 0; k < length; ++k) {
            formula += operators[Random() % std::size(operators)];
            formula += operands[Random() % std::size(operands)];
        }
        ExpectAgreement(formula);
    }
}

TEST(Formula, ConnectionFollowsAChangedFormulaAndMarking) {
    TEngineNet net;
    TVertex* p1 = CreateVertex(net, "P1", 3, 0, 0, nullptr);
    TTransition* t1 = CreateTransition(net, "T1", 0, 0, 0, nullptr);
    TConnection* c = CreateConnection(net, ctVT, 1, p1, t1, nullptr);
    c->UseFunction = true;
    c->Formula = "M(P1)*2";
    EXPECT_EQ(EvaluateFormula(*c, net), 6);
    p1->Marking = 5;
    EXPECT_EQ(EvaluateFormula(*c, net), 10);
    c->Formula = "M(P1)+1";
    EXPECT_EQ(EvaluateFormula(*c, net), 6);
    p1->Name = "Q";
    EXPECT_EQ(EvaluateFormula(*c, net), std::nullopt); // the name is looked up at each evaluation
    c->Formula = "M(q)-1";
    EXPECT_EQ(EvaluateFormula(*c, net), 4);
}

} // namespace
