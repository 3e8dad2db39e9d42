#include "ui/ProfileForWriter.h"

#include "mailclients/MailClientSignatures.h"
#include "settings/OrderStateFile.h"
#include "settings/ProgramFiles.h"
#include "settings/ProgramLocation.h"
#include "ui/DatabaseEditor.h"
#include "ui/ProgramServices.h"
#include "ui/Reports.h"

ProfileForWriter::ProfileForWriter(ProgramServices& services, const DatabaseEditor& editor, Reports& reports)
    : services_(services), editor_(editor), reports_(reports),
      ownFiles_(settings::ProgramOwnFiles(settings::ProgramDirectory()))
{
}

std::string ProfileForWriter::SignatureFilePath() const
{
    return services_.Profile().signatureFile;
}

bool ProfileForWriter::DelimiterOn() const
{
    return services_.Profile().delimiter;
}

bool ProfileForWriter::StaticTextOn() const
{
    return services_.Profile().staticTextOn;
}

bool ProfileForWriter::StaticTextAbove() const
{
    return services_.Profile().staticTextAbove;
}

std::string ProfileForWriter::StaticText() const
{
    return services_.Profile().staticText;
}

bool ProfileForWriter::ChangeBalloonOn() const
{
    return services_.Options().changeBalloon;
}

std::vector<std::string> ProfileForWriter::DatabaseList() const
{
    return services_.Profile().databases;
}

std::vector<std::string> ProfileForWriter::ProtectedFiles() const
{
    std::vector<std::string> files = services_.Profile().databases;
    if (std::optional<std::string> open = editor_.DatabaseInEditor())
        files.push_back(std::move(*open));
    files.insert(files.end(), ownFiles_.begin(), ownFiles_.end());
    return files;
}

std::vector<std::string> ProfileForWriter::ThunderbirdSignatureFiles() const
{
    return mailclients::ThunderbirdSignatureFiles();
}

std::optional<TextFileEncoding> ProfileForWriter::KeptEncoding(const std::string& path) const
{
    return services_.Store().KeptEncoding(path);
}

void ProfileForWriter::KeepEncoding(const std::string& path, TextFileEncoding encoding) const
{
    services_.Store().KeepEncoding(path, encoding);
}

SignatureOrder ProfileForWriter::Order() const
{
    return services_.Profile().order;
}

OrderPlace ProfileForWriter::Place() const
{
    return services_.Store().KeptOrderPlace();
}

void ProfileForWriter::KeepPlace(const OrderPlace& place)
{
    const std::optional<std::string> unkept = services_.Store().KeepOrderPlace(place);
    if (!unkept || unkeptSaid_)
        return;
    unkeptSaid_ = true;
    if (reports_.ErrorBalloonsOn())
        reports_.ErrorBalloon(settings::UnkeptPlaceTitle, settings::UnkeptPlaceBalloonText(*unkept));
}
