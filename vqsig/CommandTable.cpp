#include "vqsig/CommandTable.h"

#include "vqsig/Commands.h"

#include <algorithm>
#include <array>

namespace vqsig {

namespace {

constexpr std::array<Command, 7> Table{{
    {"pick", 0, AnyNumber, Pick,
     "pick [DB...] [--list FILE] [--out FILE | --stdout] [--static FILE]\n[--above | --below] [--no-delimiter]",
     "Makes one random signature, as the tray menu's \"Change signature\" does.\n"
     "Without DB or --list it takes everything from Varnquill's own settings:\n"
     "the database list, the signature text file, the delimiter, the static\n"
     "text and the order of changes, which it moves on as the tray does.\n"
     "With DB or --list FILE (a list of databases, one a line) it takes\n"
     "nothing from them but the encodings kept for signature files: the pick\n"
     "is at random, the delimiter is on, there is no static text and the\n"
     "target is --out or --stdout. The options override either way:\n"
     "  --out FILE      write the signature text file FILE, encoding kept\n"
     "  --stdout        print the signature instead of writing a file\n"
     "  --static FILE   put the text of FILE above or below the signature\n"
     "  --above, --below   where the static text goes\n"
     "  --no-delimiter  leave out the \"-- \" line"},
    {"count", 1, 1, CountRecords, "count DB", "Prints the number of records in DB."},
    {"list", 1, 1, ListRecords, "list DB", "Prints every record of DB, numbered from 1, each followed by a line \"%\"."},
    {"add", 1, 2, AddRecord, "add DB [TEXT]",
     "Appends TEXT, or standard input when TEXT is absent, as a new record\n"
     "(DB is created when missing). At most 512 bytes. Standard input that is\n"
     "UTF-8 is converted; a character the ANSI code page lacks is refused."},
    {"delete", 2, 2, DeleteRecord, "delete DB N", "Deletes record N (counted from 1)."},
    {"import", 2, AnyNumber, ImportFortunes, "import DB FILE...",
     "Appends the texts of fortune files (texts separated by lines \"%\") to DB,\n"
     "created when missing; a file with no \"%\" line is read as paragraphs\n"
     "(texts separated by blank lines). Texts too long or with characters the\n"
     "ANSI code page has no form for are skipped and counted. A FILE may hold\n"
     "* and ?. A failure part way leaves DB as it was: nothing is imported.\n"
     "When no text can be taken, DB is neither created nor changed and the\n"
     "import fails."},
    {"export", 2, 2, ExportFortunes, "export DB FILE",
     "Writes DB as a UTF-8 fortune file; FILE \"-\" is standard output."},
}};

} // namespace

std::span<const Command> Commands()
{
    return Table;
}

const Command* FindCommand(std::string_view name)
{
    const auto found = std::find_if(Table.begin(), Table.end(), [&](const Command& c) { return name == c.name; });
    return found == Table.end() ? nullptr : &*found;
}

} // namespace vqsig
