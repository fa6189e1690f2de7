#pragma once
#include <stdexcept>
#include <string>

namespace engine {

// A failure of the engine layer: SQLite's own (code from SQLite) or one of the
// engine's rules (code 0), with a message in the manner of the original engine.
// The system's errno comes with it where a file operation failed (else 0).
class EngineError : public std::runtime_error {
public:
    explicit EngineError(const std::string& message, int sqliteCode = 0, int systemErrno = 0)
        : std::runtime_error(message), sqliteCode_(sqliteCode), systemErrno_(systemErrno)
    {
    }
    int sqliteCode() const noexcept { return sqliteCode_; }
    int systemErrno() const noexcept { return systemErrno_; }

private:
    int sqliteCode_;
    int systemErrno_;
};

// A value that cannot be converted as asked.
class VariantError : public EngineError {
public:
    using EngineError::EngineError;
};

}  // namespace engine
