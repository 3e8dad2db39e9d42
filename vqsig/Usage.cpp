#include "vqsig/Usage.h"

#include "base/Version.h"

namespace vqsig {

std::string UsageText()
{
    return "Usage:\r\n"
           "  vqsig pick [DB...] [--list FILE] [--out FILE | --stdout] [--static FILE]\r\n"
           "             [--above | --below] [--no-delimiter]\r\n"
           "  vqsig count DB\r\n"
           "  vqsig list DB\r\n"
           "  vqsig add DB [TEXT]\r\n"
           "  vqsig delete DB N\r\n"
           "  vqsig import DB FILE...\r\n"
           "  vqsig export DB FILE\r\n"
           "  vqsig --help | --version\r\n";
}

std::string HelpText()
{
    return "vqsig: Varnquill's signatures from the command line.\r\n"
           "\r\n" +
           UsageText() +
           "\r\n"
           "pick     Makes one random signature, as the tray menu's \"Change signature\" does.\r\n"
           "         Without DB or --list it takes everything from Varnquill's own settings:\r\n"
           "         the database list, the signature text file, the delimiter and the static\r\n"
           "         text. With DB or --list FILE (a list of databases, one a line) it takes\r\n"
           "         nothing from them: the delimiter is on, there is no static text and the\r\n"
           "         target is --out or --stdout. The options override either way:\r\n"
           "           --out FILE      write the signature text file FILE\r\n"
           "           --stdout        print the signature instead of writing a file\r\n"
           "           --static FILE   put the text of FILE above or below the signature\r\n"
           "           --above, --below   where the static text goes\r\n"
           "           --no-delimiter  leave out the \"-- \" line\r\n"
           "count    Prints the number of records in DB.\r\n"
           "list     Prints every record of DB, numbered from 1, each followed by a line \"%\".\r\n"
           "add      Appends TEXT, or standard input when TEXT is absent, as a new record\r\n"
           "         (DB is created when missing). At most 512 bytes.\r\n"
           "delete   Deletes record N (counted from 1).\r\n"
           "import   Appends the texts of fortune files (texts separated by lines \"%\") to DB,\r\n"
           "         created when missing. Texts too long or with characters the ANSI code\r\n"
           "         page has no form for are skipped and counted. A FILE may hold * and ?.\r\n"
           "export   Writes DB as a UTF-8 fortune file; FILE \"-\" is standard output.\r\n"
           "\r\n"
           "Put -- before a TEXT or FILE that starts with a dash.\r\n"
           "Exit codes: 0 done, 1 failed (the reason on standard error), 2 wrong usage.\r\n";
}

std::string VersionText()
{
    return std::string("vqsig ") + VARNQUILL_VERSION + "\r\n";
}

} // namespace vqsig
