#pragma once
#include <stdexcept>
#include <string>

namespace engine {

// A failure of the engine layer: SQLite's own (code from SQLite) or one of the
// engine's rules (code 0), with a message in the manner of the original engine.
class EngineError : public std::runtime_error {
public:
    explicit EngineError(const std::string& message, int sqliteCode = 0)
        : std::runtime_error(message), sqliteCode_(sqliteCode)
    {
    }
    int sqliteCode() const noexcept { return sqliteCode_; }

private:
    int sqliteCode_;
};

// A value that cannot be converted as asked.
class VariantError : public EngineError {
public:
    using EngineError::EngineError;
};

}  // namespace engine
