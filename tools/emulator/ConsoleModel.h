#pragma once

#include "ArmState.h"
#include "BlockTransfer.h"
#include "EmulatorMemory.h"
#include "RunListStore.h"
#include "WordDictionary.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The controller's console: takes the bytes the PC sends and produces the bytes the controller answers.
// Each character is echoed as it arrives; CR runs the line and ends it with " OK", CR LF and ">"; answers
// stand after the echo and two separator characters; an unknown word ends the line with "<word> ?", CR LF
// and the prompt; after "|" lines are answered with the prompt only until "IOFLAG C0SET". It keeps the
// arm, the variables, the memory banks with the RUN-LIST, and the dictionary of words.
class ConsoleModel {
public:
    enum class Mode { Normal, Teach, Jog };

    explicit ConsoleModel(int joints = 6, int cartesianAxes = 6);
    // The built-in words hold on to this console: it is neither copied nor moved.
    ConsoleModel(const ConsoleModel&) = delete;
    ConsoleModel& operator=(const ConsoleModel&) = delete;

    void Feed(const std::string& bytes);
    void Feed(const char* data, size_t length);
    std::string TakeOutput();
    const std::string& Output() const { return m_output; }

    ArmState& Arm() { return m_arm; }
    const ArmState& Arm() const { return m_arm; }
    EmulatorMemory& Memory() { return m_memory; }
    const EmulatorMemory& Memory() const { return m_memory; }
    RunListStore& RunList() { return m_runList; }
    const RunListStore& RunList() const { return m_runList; }
    const WordDictionary& Dictionary() const { return m_dictionary; }
    const std::vector<std::string>& History() const { return m_history; }
    // The value of a variable by name (zero-extended 16 bits), or nothing when there is no such variable.
    std::optional<int> VariableValue(const std::string& name) const;
    void SetVariable(const std::string& name, int value);
    bool PromptOnly() const;
    Mode CurrentMode() const { return m_mode; }
    bool TransferActive() const { return m_transfer.Active(); }
    // The teach pad's learn and drop keys: the arm's present position is appended to the route last
    // named alone on a line, or that route's last line is dropped; then "$" or "%" is printed.
    void PadSignal(bool learn);
    size_t StackDepth() const { return m_stack.size(); }

    // Faults and signals for tests and demonstrations.
    void SetSilent(bool silent) { m_silent = silent; }
    bool Silent() const { return m_silent; }
    void FailNextLines(int count) { m_failLines = count; }
    int LinesToFail() const { return m_failLines; }
    void Emit(const std::string& bytes) { m_output += bytes; }
    // Moves (JMA, JMR, CM, HOME, CALIBRATE, GOTO, NEAR, RUN, a place's name) take this long: their line
    // is answered, and the input after it read, only when `FinishMove` is called.
    void SetMoveTime(int milliseconds) { m_moveTime = milliseconds; }
    int MoveTime() const { return m_moveTime; }
    bool Moving() const { return m_moving; }
    void FinishMove();
    // The line dropped: a transfer in progress and a half-typed line are abandoned.
    void DropLink() {
        m_transfer.Abort();
        m_line.clear();
        m_moving = false;
        m_inputDuringMove.clear();
    }

private:
    struct WordError {
        std::string word;
    };
    struct PendingFunction {
        enum class Kind { Insert, Learn, Replace } kind;
        uint16_t route;
        int line;
        uint16_t word;
    };
    using Action = std::function<void()>;

    // Reading the line.
    void HandleByte(char c);
    void HandleConsoleByte(char c);
    void EndOfLine();
    void FinishLine(bool echoed);
    void Interpret(const std::string& line);
    void ExecuteToken(const std::string& token);
    void Execute(const Word& word);
    void CompileToken(const std::string& token);
    bool NextToken(std::string& token);
    std::string ParseName();
    void SkipComment();
    bool ParseNumber(const std::string& token, int32_t& value) const;

    // Words and output.
    void Builtin(const std::string& name, Action action);
    Word& DefineVariable(const std::string& name, uint16_t initial);
    void DefineWord(const std::string& name, WordKind kind, uint16_t parameter);
    void RegisterCoreWords();
    void RegisterDefiningWords();
    void RegisterMemoryWords();
    void RegisterArmWords();
    void RegisterRunListWords();
    void RegisterRouteLineWords();
    void Answer(const std::string& text);
    std::string FormatNumber(int32_t value) const;
    [[noreturn]] void Fail() const;

    // The data stack.
    void Push(int32_t value) { m_stack.push_back(value); }
    int32_t Pop();
    AxisValues PopValues(int count, AxisValues start);
    uint16_t VariableAddress(const std::string& name) const;
    uint8_t VariableByte(const std::string& name) const;

    // RUN-LIST helpers.
    uint16_t PopEntry(uint16_t kind);
    void CheckLine(uint16_t route, int line) const;
    void StoreLearned(uint16_t route, int line, uint16_t code);
    void MoveToRecord(uint32_t address);
    void MoveToLine(uint16_t entry, int line);
    void ShiftBindings(uint16_t after, int delta);
    void ForgetWord(const std::string& name);
    void CompleteFunction(int32_t parameter);
    void RunListReceived(uint32_t length);
    int ValueCount(bool cartesian) const;
    void StartMotion() { m_motionStarted = m_moveTime > 0; }

    ArmState m_arm;
    EmulatorMemory m_memory;
    WordDictionary m_dictionary;
    RunListStore m_runList;
    BlockTransfer m_transfer;
    std::vector<Action> m_actions;

    std::string m_output;
    std::string m_line;
    std::vector<std::string> m_history;
    std::vector<int32_t> m_stack;
    std::vector<std::string> m_tokens;
    size_t m_position = 0;
    std::string m_current;
    WordKind m_lastKind = WordKind::Builtin;
    bool m_answered = false;
    Mode m_mode = Mode::Normal;
    bool m_silent = false;
    int m_failLines = 0;
    bool m_relativeNext = false;
    std::optional<PendingFunction> m_pendingFunction;
    bool m_compiling = false;
    std::string m_definitionName;
    std::string m_definitionEnd;
    std::string m_definitionBody;
    int m_moveTime = 0;
    bool m_motionStarted = false;
    bool m_moving = false;
    std::string m_answerAfterMove;
    std::string m_inputDuringMove;
    uint16_t m_padRoute = 0; // the route entry the teach pad learns into (0: none)
    uint16_t m_ioFlag = 0;
    uint16_t m_base = 0;
};
