#pragma once
#include <stdexcept>
#include <string>

namespace engine {

// A failure of the engine layer: SQLite's own (code from SQLite) or one of the
// engine's rules (code 0). The system's errno comes with it where a file operation failed (else 0).
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

// A value that its field cannot hold as it is.
class FieldValueError : public EngineError {
public:
    enum class Problem { Mismatch, TooLong, ZeroLength, Null, NotText };
    FieldValueError(const std::string& message, Problem problem, std::string table, std::string field)
        : EngineError(message), problem_(problem), table_(std::move(table)), field_(std::move(field))
    {
    }
    Problem problem() const noexcept { return problem_; }
    const std::string& table() const noexcept { return table_; }
    const std::string& field() const noexcept { return field_; }

private:
    Problem problem_;
    std::string table_;
    std::string field_;
};

// A view or trigger that worked stops working once the tables have changed.
class ViewOrTriggerBroken : public EngineError {
public:
    ViewOrTriggerBroken(bool isView, std::string name, std::string reason)
        : EngineError(std::string(isView ? "The view '" : "The trigger '") + name +
                      "' no longer works with the changed tables: " + reason),
          isView_(isView), name_(std::move(name)), reason_(std::move(reason))
    {
    }
    bool isView() const noexcept { return isView_; }
    const std::string& name() const noexcept { return name_; }
    const std::string& reason() const noexcept { return reason_; }
    // The field it names that the tables no longer have; empty when SQLite's
    // reason is another.
    std::string missingField() const
    {
        static const std::string prefix = "no such column: ";
        if (reason_.compare(0, prefix.size(), prefix) != 0) return {};
        const std::string column = reason_.substr(prefix.size());
        const auto dot = column.rfind('.');
        return dot == std::string::npos ? column : column.substr(dot + 1);
    }

private:
    bool isView_;
    std::string name_;
    std::string reason_;
};

}  // namespace engine
