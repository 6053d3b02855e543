// The filter parser: recursive descent straight over the characters of the
// text, one function per precedence level. Each level returns the subtree
// it built together with the subtree's depth; unique_ptr ownership frees
// every partial tree when an error leaves a level.
//
// Depth counts the stack frames that reading the tree will take, which is
// what the nesting limit protects. Parentheses, unary operators, function
// calls and comparisons each add a level. A chain of operators of one
// precedence level (a OR b OR c ...) does not: its nodes read their left
// operands without recursion while the result kind stays the same (see
// TBinaryOp), so a link adds a level only where the kind changes, which
// happens at most a few times along any chain.
//
// The text ends at its last character, not at a zero byte: a zero inside
// it is an ordinary character that starts nothing, so it is reported like
// any other stray character.
#include "vorn/filter/FilterParser.h"

#include <algorithm>
#include <string>

#include "Messages.h"
#include "vorn/filter/Functions.h"
#include "vorn/filter/Literals.h"
#include "vorn/filter/Operators.h"
#include "vorn/host/FormatSettings.h"
#include "vorn/host/NumberText.h"

namespace vorn::filter {

namespace {

// Literal texts and bracketed names may hold this many characters.
constexpr size_t kMaxNameLength = 256;
// The number reader's limit on collected characters.
constexpr size_t kMaxNumberLength = 28;

bool IsBlank(char c) {
  auto code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsIdentChar(char c) {
  return IsIdentStart(c) || IsDigit(c);
}

bool IsRelationalChar(char c) {
  return c == '<' || c == '=' || c == '>';
}

char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// A word read where an identifier may stand.
struct Word {
  enum Kind { kOperator, kBoolean, kName };
  Kind kind = kName;
  std::string text;  // upper case
  TOperator op = opNot;
  bool value = false;
};

// A subtree and its depth in nodes.
struct Parsed {
  std::unique_ptr<TExpression> node;
  int depth = 0;
};

class Parser {
 public:
  Parser(std::string_view text, const TIdentifierResolver& resolver, TObject* context)
      : text_(text), resolver_(resolver), context_(context) {}

  std::unique_ptr<TExpression> Parse() {
    Parsed root = Expression();
    if (!AtEnd()) ExpressionError(SNotAppropriate, std::string(1, text_[pos_]));
    return std::move(root.node);
  }

 private:
  // Counts one level of recursion for the life of a Factor call. Every
  // recursive path of the grammar passes through Factor.
  class NestingGuard {
   public:
    explicit NestingGuard(int& nesting) : nesting_(nesting) {
      if (nesting_ >= MaxFilterDepth) ExpressionError(SNestedTooDeeply);
      ++nesting_;
    }
    ~NestingGuard() { --nesting_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

   private:
    int& nesting_;
  };

  bool AtEnd() const { return pos_ >= text_.size(); }
  // '\0' at the end of the text.
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  bool AtEndOfOperand() const { return AtEnd() || text_[pos_] == ')' || text_[pos_] == ','; }

  void SkipBlanks() {
    while (!AtEnd() && IsBlank(text_[pos_]))
      ++pos_;
  }

  // A node over children whose deepest subtree is `childDepth` deep.
  static Parsed Node(std::unique_ptr<TExpression> node, int childDepth) {
    return {std::move(node), childDepth + 1};
  }

  static int CheckedDepth(int childDepth) {
    if (childDepth >= MaxFilterDepth) ExpressionError(SNestedTooDeeply);
    return childDepth;
  }

  static Parsed Unary(TOperator op, Parsed operand) {
    int depth = CheckedDepth(operand.depth);
    return Node(std::make_unique<TUnaryOp>(op, std::move(operand.node)), depth);
  }

  static Parsed Relational(TOperator op, Parsed left, Parsed right) {
    int depth = CheckedDepth(std::max(left.depth, right.depth));
    return Node(std::make_unique<TRelationalOp>(op, std::move(left.node), std::move(right.node)),
                depth);
  }

  static Parsed Binary(TOperator op, Parsed left, Parsed right) {
    const auto* link = dynamic_cast<const TBinaryOp*>(left.node.get());
    auto node = std::make_unique<TBinaryOp>(op, std::move(left.node), std::move(right.node));
    // A left operand that continues the chain is read in this node's own
    // frame.
    bool continuesChain = link != nullptr && link->ExprType() == node->ExprType();
    int leftDepth = continuesChain ? left.depth - 1 : left.depth;
    int depth = CheckedDepth(std::max(leftDepth, right.depth));
    return Node(std::move(node), depth);
  }

  // Relational level: at most one comparison; a second operator character
  // right after it makes the next operand fail ("Syntax error").
  Parsed Expression() {
    Parsed result;
    for (;;) {
      SkipBlanks();
      if (AtEndOfOperand()) return result;
      // Only a NOT put back by the lower levels can follow a complete
      // operand here; starting afresh at it would drop what came before.
      if (result.node && IsIdentStart(Peek())) {
        ExpressionError(SNotAppropriate, std::string(1, Peek()));
      }
      result = SimpleExpression();
      if (IsRelationalChar(Peek())) {
        size_t start = pos_++;
        if (IsRelationalChar(Peek())) ++pos_;
        std::string_view spelling = text_.substr(start, pos_ - start);
        TOperator op = opEq;
        while (op <= opGTE && OperatorSpelling(op) != spelling)
          op = static_cast<TOperator>(op + 1);
        if (op > opGTE) ExpressionError(SNotValidOperator, spelling);
        Parsed right = SimpleExpression();
        result = Relational(op, std::move(result), std::move(right));
      }
    }
  }

  // Additive level: + - OR XOR.
  Parsed SimpleExpression() {
    Parsed left = Term();
    for (;;) {
      SkipBlanks();
      if (AtEndOfOperand()) return left;
      char c = Peek();
      if (c == '*' || c == '/' || IsRelationalChar(c)) return left;
      if (c == '+' || c == '-') {
        ++pos_;
        Parsed right = Term();
        left = Binary(c == '+' ? opPlus : opMinus, std::move(left), std::move(right));
        continue;
      }
      // Term has already refused any other character.
      if (!IsIdentStart(c)) ExpressionError(SCharInInput, std::string(1, c));
      size_t start = pos_;
      Word word = ReadWord();
      if (word.kind == Word::kName) ExpressionError(SIdentifierNotAllowed, word.text);
      if (word.kind == Word::kBoolean) ExpressionError(SBooleanNotAllowed);
      if (word.op != opOr && word.op != opXor) {
        pos_ = start;
        return left;
      }
      Parsed right = Term();
      left = Binary(word.op, std::move(left), std::move(right));
    }
  }

  // Multiplying level: * / DIV MOD AND SHL SHR.
  Parsed Term() {
    Parsed left = Factor();
    for (;;) {
      SkipBlanks();
      if (AtEndOfOperand()) return left;
      char c = Peek();
      if (c == '*' || c == '/') {
        ++pos_;
        Parsed right = Factor();
        left = Binary(c == '*' ? opMult : opDivide, std::move(left), std::move(right));
        continue;
      }
      if (c == '+' || c == '-' || IsRelationalChar(c)) return left;
      if (!IsIdentStart(c)) ExpressionError(SCharInInput, std::string(1, c));
      size_t start = pos_;
      Word word = ReadWord();
      if (word.kind == Word::kName) ExpressionError(SIdentifierNotAllowed, word.text);
      if (word.kind == Word::kBoolean) ExpressionError(SBooleanNotAllowed);
      if (word.op < opDiv || word.op > opShr) {
        pos_ = start;
        return left;
      }
      Parsed right = Factor();
      left = Binary(word.op, std::move(left), std::move(right));
    }
  }

  Parsed Factor() {
    NestingGuard guard(nesting_);
    SkipBlanks();
    char c = Peek();
    if (!AtEnd()) {
      if (c == '+' || c == '-') {
        ++pos_;
        return Unary(c == '+' ? opPlus : opMinus, Factor());
      }
      if (c == '[') return BracketedName();
      if (c == '\'') return StringLiteral();
      if (IsDigit(c)) return Number();
      if (c == '(') {
        ++pos_;
        Parsed inner = Expression();
        if (!inner.node) ExpressionError(SInvalidSubExpression);
        if (Peek() != ')') ExpressionError(SCloseParenExpected);
        ++pos_;
        return inner;
      }
      if (IsIdentStart(c)) return Identifier();
    }
    if (AtEndOfOperand()) ExpressionError(SUnexpectedEndOfFactor);
    ExpressionError(SSyntaxError);
  }

  // A word at the cursor: an operator keyword, TRUE/FALSE or a name.
  Word ReadWord() {
    Word word;
    word.text += AsciiUpper(text_[pos_++]);
    while (!AtEnd() && IsIdentChar(text_[pos_]))
      word.text += AsciiUpper(text_[pos_++]);
    for (int i = 0; i < OperatorCount; ++i) {
      if (word.text == OperatorSpelling(static_cast<TOperator>(i))) {
        word.kind = Word::kOperator;
        word.op = static_cast<TOperator>(i);
        return word;
      }
    }
    if (word.text == "TRUE" || word.text == "FALSE") {
      word.kind = Word::kBoolean;
      word.value = word.text == "TRUE";
    }
    return word;
  }

  // NOT, TRUE/FALSE, a function call or a name for the resolver.
  Parsed Identifier() {
    Word word = ReadWord();
    if (word.kind == Word::kOperator) {
      if (word.op != opNot) ExpressionError(SNotAllowedHere, OperatorName(word.op));
      return Unary(opNot, Factor());
    }
    if (word.kind == Word::kBoolean) return Node(std::make_unique<TBooleanLiteral>(word.value), 0);

    SkipBlanks();
    std::unique_ptr<TParameterList> params;
    int depth = 0;
    if (Peek() == '(') {
      params = std::make_unique<TParameterList>();
      do {
        ++pos_;  // the "(" or ","
        Parsed param = Expression();
        if (!param.node) ExpressionError(SIncorrectParameters);
        depth = std::max(depth, param.depth);
        params->Add(std::move(param.node));
      } while (Peek() == ',');
      if (Peek() != ')') ExpressionError(SIncorrectParameters);
      ++pos_;
    }
    depth = CheckedDepth(depth);
    std::unique_ptr<TExpression> node = CreateFunction(word.text, params);
    // A list the resolver does not use is freed with `params`.
    if (!node && resolver_) node = resolver_(context_, word.text, params.get());
    if (!node) ExpressionError(SUnknownIdentifier, word.text);
    return Node(std::move(node), depth);
  }

  // [any text]: a column name taken verbatim.
  Parsed BracketedName() {
    ++pos_;
    std::string name;
    for (;;) {
      if (AtEnd()) ExpressionError(SUnterminatedFieldname);
      char c = text_[pos_++];
      if (c == ']') break;
      if (name.size() >= kMaxNameLength) ExpressionError(SFieldnameTooLong);
      name += c;
    }
    std::unique_ptr<TExpression> node;
    if (resolver_) node = resolver_(context_, name, nullptr);
    if (!node) ExpressionError(SUnknownIdentifier, name);
    return Node(std::move(node), 0);
  }

  // 'text' with '' standing for one quote.
  Parsed StringLiteral() {
    ++pos_;
    std::string value;
    for (;;) {
      if (AtEnd()) ExpressionError(SUnterminatedString);
      char c = text_[pos_++];
      if (c == '\'') {
        if (Peek() != '\'') break;
        ++pos_;
      }
      if (value.size() >= kMaxNameLength) ExpressionError(SStringTooLong);
      value += c;
    }
    return Node(std::make_unique<TStringLiteral>(std::move(value)), 0);
  }

  // Digits, an optional fraction after the locale's decimal separator and
  // an optional exponent ("E", an optional "-", digits). Without fraction
  // or exponent the number is a 32-bit integer.
  Parsed Number() {
    enum { kInteger, kFraction, kExponent } state = kInteger;
    const char separator = FormatSettings().DecimalSeparator;
    std::string digits;
    while (!AtEnd()) {
      char c = text_[pos_];
      if (IsDigit(c)) {
        digits += c;
        ++pos_;
      } else if (c == separator) {
        if (state != kInteger) ExpressionError(SBadNumericFormat);
        digits += c;
        ++pos_;
        state = kFraction;
      } else if (c == 'e' || c == 'E') {
        if (state == kExponent) ExpressionError(SBadNumericFormat);
        digits += 'E';
        ++pos_;
        if (Peek() == '-') {
          digits += '-';
          ++pos_;
        }
        if (!IsDigit(Peek())) ExpressionError(SBadNumericFormat);
        state = kExponent;
      } else {
        break;
      }
      if (digits.size() > kMaxNumberLength) ExpressionError(SBadNumericFormat);
    }
    if (state == kInteger) return Node(std::make_unique<TIntegerLiteral>(StrToInt(digits)), 0);
    return Node(std::make_unique<TFloatLiteral>(StrToFloat(digits)), 0);
  }

  std::string_view text_;
  size_t pos_ = 0;
  int nesting_ = 0;
  const TIdentifierResolver& resolver_;
  TObject* context_;
};

}  // namespace

std::unique_ptr<TExpression> ParseFilterExpression(std::string_view text, TFilterOptions options,
                                                   const TIdentifierResolver& resolver,
                                                   TObject* context) {
  ScopedFilterOptions scope(options);
  return Parser(text, resolver, context).Parse();
}

}  // namespace vorn::filter
