#pragma once
#include "engine/IoFailure.h"
#include "engine/RecordFile.h"
#include "engine/WholeRecords.h"

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

// How a command opens its database.
enum class DatabaseAccess {
    Read,           // only read: a read-only database opens too, and nothing of it changes
    Change,         // read and written; it must exist
    ChangeOrCreate, // read and written; made empty when missing
};

// Opens the database, refusing a file whose length is not a whole number of records as the
// editor refuses it (NotADatabase): a letter or a picture is never changed as a database.
void OpenDatabase(RecordFile& file, const std::string& path, DatabaseAccess access);

// Calls take with the text of every record of the database, in order, reading a block of
// records at a time, so a database of any size needs little memory. Failures are
// IoFailures and NotADatabase.
void ForEachDatabaseText(const std::string& path, const std::function<void(const std::string&)>& take);

// Runs work on the file at path and answers its result. A failure that would not say which
// file it is about (an I/O failure, a file that is no database, memory running out) comes
// out as a std::runtime_error that names it: "<path>: <message>". So does a text too long
// to convert.
template <typename Work>
decltype(auto) OnFile(const std::string& path, Work&& work)
{
    try {
        return work();
    } catch (const IoFailure& failure) {
        throw std::runtime_error(path + ": " + failure.what());
    } catch (const NotADatabase& failure) {
        throw std::runtime_error(path + ": " + failure.what());
    } catch (const std::length_error& failure) {
        throw std::runtime_error(path + ": " + failure.what());
    } catch (const std::bad_alloc&) {
        throw std::runtime_error(path + ": Not enough memory for it");
    }
}

