// libFuzzer target for the SQL parser. Any bytes either parse or fail with
// the engine's syntax error; nothing else may escape and nothing may crash.
// A statement that parses must also survive the round trip through its
// canonical text: parsing that text gives the same tree.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/EngineError.h"
#include "engine/sql/AstPrinter.h"
#include "engine/sql/Parser.h"

using namespace vantrep::engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    sql::Statement statement;
    try {
        statement = sql::parseStatement(text);
    } catch (const EngineError& error) {
        bool syntaxError = error.number() == errSyntax &&
                           error.description().starts_with("Syntax error at position ");
        if (!syntaxError) std::abort();
        return 0;
    }
    std::string tree = sql::describe(statement);
    std::string canonical = sql::toSql(statement);
    try {
        if (sql::describe(sql::parseStatement(canonical)) != tree) std::abort();
    } catch (const EngineError&) {
        std::abort();
    }
    return 0;
}
