#include "engine/sql/ExpressionParser.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "engine/sql/Literals.h"
#include "engine/sql/SyntaxError.h"

namespace vantrep::engine::sql {

namespace {

std::string upperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

// An expression under construction with the height of its tree and its
// nesting (both 1 for a leaf). Nesting is the height with every chain of
// operators of one precedence ("a OR b OR c", "1+2-3") counted as one level.
struct Node {
    ExprPtr expr;
    int height = 1;
    int nesting = 1;
};

Node leaf(ExprKind kind, size_t position) {
    Node node{std::make_unique<Expr>(), 1, 1};
    node.expr->kind = kind;
    node.expr->position = position;
    return node;
}

[[noreturn]] void throwTooDeep(const Token& token) {
    throwUnexpected(token, "an expression nested at most " + std::to_string(maxExpressionDepth) + " levels deep");
}

[[noreturn]] void throwTooHigh(const Token& token) {
    throwUnexpected(token, "an expression at most " + std::to_string(maxExpressionHeight) + " levels high");
}

class ExpressionParser {
public:
    explicit ExpressionParser(TokenCursor& tokens) : tokens_(tokens) {}

    ExprPtr parse() { return parseOr().expr; }

private:
    // Counts the parentheses and calls open while an operand is parsed.
    class NestingGuard {
    public:
        explicit NestingGuard(ExpressionParser& parser) : parser_(parser) {
            if (++parser_.nesting_ > maxExpressionDepth) throwTooDeep(parser_.tokens_.current());
        }
        ~NestingGuard() { --parser_.nesting_; }
        NestingGuard(const NestingGuard&) = delete;
        NestingGuard& operator=(const NestingGuard&) = delete;

    private:
        ExpressionParser& parser_;
    };

    // In each loop of binary operators below, every operator after the first
    // continues the chain the first one began.
    Node parseOr() {
        Node left = parseAnd();
        for (bool chained = false; tokens_.atLogical("OR"); chained = true) {
            Token op = tokens_.current();
            tokens_.advance();
            left = binary("OR", op, std::move(left), parseAnd(), chained);
        }
        return left;
    }

    Node parseAnd() {
        Node left = parseNot();
        for (bool chained = false; tokens_.atLogical("AND"); chained = true) {
            Token op = tokens_.current();
            tokens_.advance();
            left = binary("AND", op, std::move(left), parseNot(), chained);
        }
        return left;
    }

    // Prefix operators are gathered in a loop, so that a long run of them
    // cannot exhaust the stack.
    Node parseNot() {
        std::vector<Token> nots;
        while (tokens_.atLogical("NOT")) {
            if (nots.size() >= size_t(maxExpressionDepth)) throwTooDeep(tokens_.current());
            nots.push_back(tokens_.current());
            tokens_.advance();
        }
        Node node = parseComparison();
        for (auto op = nots.rbegin(); op != nots.rend(); ++op) node = unary("NOT", *op, std::move(node));
        return node;
    }

    bool atComparison() const {
        static const char* const comparisons[] = {"=", "==", "<>", "!=", "#", "<", ">", "<=", ">="};
        return std::any_of(std::begin(comparisons), std::end(comparisons),
                           [&](const char* symbol) { return tokens_.atSymbol(symbol); });
    }

    // "!=" and "#" are written "<>" in the tree; "a NOT IN (...)" is NOT over IN.
    Node parseComparison() {
        Node left = parseAdditive();
        for (bool chained = false;; chained = true) {
            if (atComparison()) {
                Token op = tokens_.current();
                tokens_.advance();
                std::string name = (op.text == "!=" || op.text == "#") ? "<>" : op.text;
                left = binary(name, op, std::move(left), parseAdditive(), chained);
            } else if (tokens_.atWord("IN")) {
                Token in = tokens_.current();
                tokens_.advance();
                left = inList(in, std::move(left));
            } else if (tokens_.atLogical("NOT")) {
                Token notToken = tokens_.current();
                tokens_.advance();
                if (!tokens_.atWord("IN")) throwUnexpected(tokens_.current(), "IN after NOT");
                Token in = tokens_.current();
                tokens_.advance();
                left = unary("NOT", notToken, inList(in, std::move(left)));
            } else {
                return left;
            }
        }
    }

    Node parseAdditive() {
        Node left = parseMultiplicative();
        for (bool chained = false; tokens_.atSymbol("+") || tokens_.atSymbol("-"); chained = true) {
            Token op = tokens_.current();
            tokens_.advance();
            left = binary(op.text, op, std::move(left), parseMultiplicative(), chained);
        }
        return left;
    }

    Node parseMultiplicative() {
        Node left = parseUnary();
        for (bool chained = false; tokens_.atSymbol("*") || tokens_.atSymbol("/"); chained = true) {
            Token op = tokens_.current();
            tokens_.advance();
            left = binary(op.text, op, std::move(left), parseUnary(), chained);
        }
        return left;
    }

    // A unary "+" changes nothing and leaves no node.
    Node parseUnary() {
        std::vector<Token> minuses;
        size_t prefixes = 0;
        while (tokens_.atSymbol("-") || tokens_.atSymbol("+")) {
            if (++prefixes > size_t(maxExpressionDepth)) throwTooDeep(tokens_.current());
            if (tokens_.atSymbol("-")) minuses.push_back(tokens_.current());
            tokens_.advance();
        }
        Node node = parsePrimary();
        for (auto op = minuses.rbegin(); op != minuses.rend(); ++op) node = unary("-", *op, std::move(node));
        return node;
    }

    Node parsePrimary() {
        switch (tokens_.current().kind) {
        case TokenKind::Number: return numberNode();
        case TokenKind::String: return literal(Value::string(tokens_.current().value));
        case TokenKind::Braced: return dateNode();
        case TokenKind::DotWord:
            if (tokens_.current().value == "T" || tokens_.current().value == "Y") return literal(Value::logical(true));
            if (tokens_.current().value == "F" || tokens_.current().value == "N") return literal(Value::logical(false));
            if (tokens_.current().value == "NULL") return literal(Value::null());
            break;
        case TokenKind::Word:
            if (tokens_.atWord("NULL")) return literal(Value::null());
            if (tokens_.atName()) return fieldOrCall();
            break;
        case TokenKind::Symbol:
            if (tokens_.current().text == "(") return parenthesized();
            break;
        default: break;
        }
        throwUnexpected(tokens_.current(), "an expression");
    }

    // The current token as a literal of the given value.
    Node literal(Value value) {
        Node node = leaf(ExprKind::Literal, tokens_.current().position);
        node.expr->literal = std::move(value);
        tokens_.advance();
        return node;
    }

    Node fieldOrCall() {
        Token name = tokens_.current();
        tokens_.advance();
        if (tokens_.atSymbol("(")) return call(name);
        Node field = leaf(ExprKind::Field, name.position);
        field.expr->name = name.text;
        return field;
    }

    Node parenthesized() {
        NestingGuard guard(*this);
        tokens_.advance();
        Node inner = parseOr();
        tokens_.expectSymbol(")", "')'");
        return inner;
    }

    Node numberNode() {
        std::optional<NumberLiteral> number = numberLiteral(tokens_.current().text);
        if (!number) throwUnexpected(tokens_.current(), "a number of at most 36 digits with at most 30 decimals");
        Node node = literal(number->value);
        node.expr->width = number->width;
        node.expr->decimals = number->decimals;
        return node;
    }

    Node dateNode() {
        std::optional<Value> value = bracedLiteral(tokens_.current().value);
        if (!value) throwUnexpected(tokens_.current(), "a date such as {^2004-03-07} or {^2004-03-07 13:45:30}");
        return literal(*value);
    }

    // NAME(args); the current token is "(". COUNT(*) has one Star argument.
    Node call(const Token& name) {
        NestingGuard guard(*this);
        Node node = leaf(ExprKind::Function, name.position);
        node.expr->name = upperCase(name.text);
        tokens_.advance();
        if (tokens_.acceptSymbol(")")) return node;
        if (node.expr->name == "COUNT" && tokens_.atSymbol("*")) {
            node.expr->args.push_back(leaf(ExprKind::Star, tokens_.current().position).expr);
            node.height = 2;
            node.nesting = 2;
            tokens_.advance();
            tokens_.expectSymbol(")", "')'");
            return node;
        }
        do {
            addArgument(node, parseOr());
        } while (tokens_.acceptSymbol(","));
        tokens_.expectSymbol(")", "',' or ')'");
        checkHeight(node, name);
        return node;
    }

    // left IN (value, ...); the current token should be "(".
    Node inList(const Token& in, Node left) {
        if (!tokens_.atSymbol("(")) throwUnexpected(tokens_.current(), "'(' after IN");
        NestingGuard guard(*this);
        tokens_.advance();
        Node node = leaf(ExprKind::In, in.position);
        addArgument(node, std::move(left));
        do {
            addArgument(node, parseOr());
        } while (tokens_.acceptSymbol(","));
        tokens_.expectSymbol(")", "',' or ')'");
        checkHeight(node, in);
        return node;
    }

    void addArgument(Node& parent, Node argument) {
        parent.height = std::max(parent.height, argument.height + 1);
        parent.nesting = std::max(parent.nesting, argument.nesting + 1);
        parent.expr->args.push_back(std::move(argument.expr));
    }

    void checkHeight(const Node& node, const Token& at) {
        if (node.nesting > maxExpressionDepth) throwTooDeep(at);
        if (node.height > maxExpressionHeight) throwTooHigh(at);
    }

    // `chained`: `left` is the chain of operators of this precedence so far,
    // which this operator continues at the same level of nesting.
    Node binary(const std::string& op, const Token& at, Node left, Node right, bool chained) {
        const int nesting = chained ? std::max(left.nesting, right.nesting + 1)
                                    : std::max(left.nesting, right.nesting) + 1;
        Node node = leaf(ExprKind::Binary, at.position);
        node.expr->op = op;
        addArgument(node, std::move(left));
        addArgument(node, std::move(right));
        node.nesting = nesting;
        checkHeight(node, at);
        return node;
    }

    Node unary(const std::string& op, const Token& at, Node operand) {
        Node node = leaf(ExprKind::Unary, at.position);
        node.expr->op = op;
        addArgument(node, std::move(operand));
        checkHeight(node, at);
        return node;
    }

    TokenCursor& tokens_;
    int nesting_ = 0;
};

}  // namespace

ExprPtr parseExpression(TokenCursor& tokens) { return ExpressionParser(tokens).parse(); }

}  // namespace vantrep::engine::sql
