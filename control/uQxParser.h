// TQxParser: the formula parser of calculated report columns. The query definition puts the
// values of a result row into a formula (FormatFormulaNumber) and reads the number back.
//
// Formulas: numbers (digits, an optional '.' and fraction, an optional exponent "E-3"), PI,
// + - * / ^, DIV and MOD written without blanks around them ("7DIV2"), a leading minus,
// brackets, the functions TAN SIN COS SINH COSH ARCTAN EXP LN SQRT ABS HEAV SIGN ZERO PH RND of
// one argument and MAX MIN of two ("MAX(1,2)"). Names are read without regard to case; angles
// are radians.
//
// Precedence, lowest first: + -; * / DIV MOD (left to right); a leading minus; ^ (right to
// left). So -2^2 is -4, 2^3^2 is 512, and a minus may follow an operator (2*-3 is -6).
// DIV and MOD truncate both operands toward zero to 64-bit integers; MOD takes the sign of
// the dividend.
//
// Every error is an EParserError whose text is one of "Expression has blanks", "Missing
// brackets in expression", "Expression contains too many nestings", "Expression is too
// complex", or begins "Error parsing expression:" and tells what was found at which character
// (counted from 1). Evaluations that give no finite number (a zero divisor, LN or SQRT outside
// their domain, an overflow) raise an "Error parsing expression:" text as well, so callers see
// one kind of error.
//
// Formulas come from stored report definitions that users exchange as files: brackets and
// calls nested deeper than MaxNesting and formulas of more than MaxTokens tokens are refused,
// and neither compiling nor evaluating recurses deeper than the nesting limit.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <random>
#include <vector>

QX_DECLARE_EXCEPTION(EParserError, Exception)

class TQxParser : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Expression READ Expression WRITE SetExpression)
    Q_PROPERTY(double Value READ Value STORED false)

public:
    static constexpr int MaxNesting = 32;
    static constexpr int MaxTokens = 1024;

    explicit TQxParser(QObject* Owner = nullptr);
    ~TQxParser() override;

    // Assigning compiles the text (raising its error); assigning the text it already holds
    // does not compile again: it raises the same error again when that text did not compile.
    QString Expression() const { return FExpression; }
    void SetExpression(const QString& Text);

    // Evaluates the compiled formula. RND draws a new number on every evaluation.
    double Value() const;

    // Restarts the generator behind RND, so that a run can be repeated.
    void SeedRandom(std::uint64_t Seed) { FRandom.seed(Seed); }

private:
    struct Step;     // one step of the compiled formula
    class Compiler;  // turns the text into steps

    // Compiles Text into the program; on failure keeps the message for Value and reassignment.
    bool Compile(const QString& Text);

    QString FExpression;
    std::vector<Step> FProgram;
    int FStackSize = 0;
    bool FCompiled = false;
    QString FError;
    mutable std::mt19937_64 FRandom;
};

// The text with which a number goes into a formula: '.' as the decimal sign whatever the
// settings, at most 15 significant digits, never an exponent, "0" for zero and never "-0".
// A value that is no finite number gives an empty text, which no formula accepts.
QString FormatFormulaNumber(double Value);
