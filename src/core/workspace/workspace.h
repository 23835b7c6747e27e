#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace/file_names.h"
#include "core/workspace/measured_map.h"
#include "core/workspace/records.h"
#include "core/workspace/status.h"

namespace zephalo::core {

namespace os {
class Folder;
}

// What a step did, for the work space's history: the title that undo, redo
// and `history` show (a button caption or a command), and the zephalo-cli
// arguments after the global options that redo it on the same files (input
// paths absolute); empty when no command redoes it.
struct StepDescription {
    std::string title;
    std::vector<std::string> command;
};

// The files a step has written so far. Every copy of a Workspace shares it,
// so the models' copies write into the step their front end opened.
struct StepStaging {
    bool open = false;
    std::map<std::string, std::string, std::less<>> files;  // name -> text
    // Files an operation writes before it may refuse, by design: committed
    // (and named in the refusal) when the step refuses; every other write
    // of a refused step is discarded.
    std::set<std::string, std::less<>> keptOnRefusal;
    Status refusal;  // the first write the storage layer refused
    StepDescription description;
    const os::Folder* folder = nullptr;  // the folder the step holds open
    // Undo and redo: the work-space files they remove, and the history's own
    // files they rewrite (nullopt: removed); such a step adds no entry.
    std::set<std::string, std::less<>> removed;
    std::map<std::string, std::optional<std::string>, std::less<>> historyFiles;
    bool historyStep = false;
};

// The work-space directory: the system's only persistent state and the only
// channel between the steps. All reading and writing of its files goes
// through this class.
//
// Reading follows one rule for every shape: a file that does not exist reads
// as empty (a spectrum gets no points, a one-line record keeps the value the
// caller held). A file that exists but holds something other than numbers in
// the expected shape, or more records than the capacity, is refused with a
// message and the caller's value is left unchanged.
//
// While a step is open (see runStep) every write is kept in memory until the
// step commits, and reads see those texts first; outside a step a write
// replaces its file at once. A record with a value that is not finite is
// never written.
class Workspace {
public:
    explicit Workspace(std::filesystem::path directory);

    // ZEPHALO_WORK_SPACE when set; else C:\ZEPHALO_WORK_SPACE on Windows and
    // $HOME/ZEPHALO_WORK_SPACE elsewhere.
    static std::filesystem::path defaultDirectory();
    // Where file dialogs start: ~/ZEPHALO when it exists, else the home
    // folder (c:\ZEPHALO on Windows).
    static std::filesystem::path dataFolder();
    // The same, with ~/ZEPHALO (c:\ZEPHALO) created first when it is missing;
    // the home folder when it cannot be created.
    static std::filesystem::path preparedDataFolder();
    // On the first start: creates the data folder (~/ZEPHALO, c:\ZEPHALO)
    // holding copies of the demo measurements (the *.DAT and *.xspec files of
    // `demoFolder`). Does nothing when the data folder exists already or the
    // demo folder is missing; true when it created the folder.
    static bool seedDataFolder(const std::filesystem::path& demoFolder);

    const std::filesystem::path& directory() const { return m_directory; }
    // The directory as message text.
    std::string directoryText() const;
    std::filesystem::path path(std::string_view fileName) const;
    bool exists(std::string_view fileName) const;

    // Creates the directory when it is missing.
    Status ensureDirectory() const;

    Status read(std::string_view fileName, PairSpectrum& out,
                std::size_t capacity = kMaxPoints) const;
    Status read(std::string_view fileName, SelectiveXafsTable& out,
                std::size_t capacity = kMaxPoints) const;
    Status read(std::string_view fileName, QuadSpectrum& out,
                std::size_t capacity = kMaxPoints) const;
    Status read(std::string_view fileName, MinMaxRecord& out) const;
    Status read(std::string_view fileName, CalculationParameters& out) const;
    Status read(std::string_view fileName, FinalStateFunction& out) const;
    // A single-value file.
    Status read(std::string_view fileName, double& out) const;
    // A measured map (checked as a map file is; at most kMaxMapFileBytes).
    Status read(std::string_view fileName, MeasuredMap& out) const;

    // Convenience for the two one-line records that exist once the work
    // space is created.
    Status readParameters(CalculationParameters& out) const {
        return read(files::kParameters, out);
    }

    Status write(std::string_view fileName, const PairSpectrum& points) const;
    Status write(std::string_view fileName, const SelectiveXafsTable& points) const;
    Status write(std::string_view fileName, const QuadSpectrum& points) const;
    Status write(std::string_view fileName, const MinMaxRecord& record) const;
    Status write(std::string_view fileName, const CalculationParameters& parameters) const;
    Status write(std::string_view fileName, const FinalStateFunction& function) const;
    Status write(std::string_view fileName, const MeasuredMap& map) const;
    // A single value; `lineEnd` false writes the number alone.
    Status write(std::string_view fileName, double value, bool lineEnd = true) const;
    // Raw text, for copies of a file.
    Status writeText(std::string_view fileName, std::string_view text) const;

    // Names the open step for the history (the last call wins); outside a
    // step it does nothing.
    void describeStep(StepDescription description) const;

    // Marks a file this step has written as one the operation writes before
    // it may refuse (a backup, factors stored before a computation): when the
    // step refuses, it is still committed and the refusal says so.
    void keepIfRefused(std::string_view fileName) const;

    // Refuses the open step: none of its writes is committed and the step
    // returns `status`. Returns `status` (outside a step it only does that).
    Status refuse(Status status) const;

    // The step state of this work space (for runStep).
    StepStaging& staging() const { return *m_staging; }

private:
    // The text of a file: the open step's, else the disk's; `found` false
    // when there is neither.
    Status readText(std::string_view fileName, std::string& text, bool& found,
                    std::uintmax_t maxBytes = kMaxFileBytes) const;
    template <class Table, class Fields>
    Status readTable(std::string_view fileName, Table& out, std::size_t capacity,
                     const Fields& fields) const;
    template <class Record, class Fields>
    Status readRecord(std::string_view fileName, Record& out, const Fields& fields) const;
    Status readOneLine(std::string_view fileName, std::size_t count, std::vector<double>& values,
                       bool& found) const;

    std::filesystem::path m_directory;
    std::shared_ptr<StepStaging> m_staging;
};

}  // namespace zephalo::core
