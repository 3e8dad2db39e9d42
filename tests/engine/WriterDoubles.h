#pragma once
#include "engine/ReportSink.h"
#include "engine/SignatureOrder.h"
#include "engine/WriterSettings.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

// The main window's switches and fields, as plain members.
struct TestSettings : WriterSettings {
    std::string path;
    bool delimiter = false;
    bool staticOn = false;
    bool staticAbove = false;
    std::string staticText;
    bool balloon = false;
    std::vector<std::string> databases;
    std::vector<std::string> protectedFiles;
    std::vector<std::string> thunderbirdFiles;
    bool staticTextFails = false; // the field cannot be read while the file is being written

    std::string SignatureFilePath() const override { return path; }
    bool DelimiterOn() const override { return delimiter; }
    bool StaticTextOn() const override { return staticOn; }
    bool StaticTextAbove() const override { return staticAbove; }
    std::string StaticText() const override
    {
        if (staticTextFails)
            throw std::runtime_error("static text unavailable");
        return staticText;
    }
    bool ChangeBalloonOn() const override { return balloon; }
    std::vector<std::string> DatabaseList() const override { return databases; }
    std::vector<std::string> ProtectedFiles() const override { return protectedFiles; }
    std::vector<std::string> ThunderbirdSignatureFiles() const override { return thunderbirdFiles; }
    // The encodings kept by path, as the registry keeps them for the program.
    mutable std::map<std::string, TextFileEncoding> keptEncodings;
    std::optional<TextFileEncoding> KeptEncoding(const std::string& path) const override
    {
        const auto kept = keptEncodings.find(path);
        return kept == keptEncodings.end() ? std::nullopt : std::optional(kept->second);
    }
    void KeepEncoding(const std::string& path, TextFileEncoding encoding) const override
    {
        keptEncodings[path] = encoding;
    }
};

// The order the user chose, and its place kept as the settings keep it: as text.
struct TestOrder : OrderKeeper {
    SignatureOrder order = SignatureOrder::Random;
    std::string kept;
    int keeps = 0;

    SignatureOrder Order() const override { return order; }
    OrderPlace Place() const override { return OrderPlace::FromText(kept); }
    void KeepPlace(const OrderPlace& place) override
    {
        kept = place.ToText();
        ++keeps;
    }
};

// Every report, in order, as the user would have been told.
struct RecordingSink : ReportSink {
    struct Report {
        std::string kind, first, second, third;
        bool operator==(const Report&) const = default;
    };
    std::vector<Report> reports;

    void ReportError(const std::string& balloonTitle, const std::string& balloonText,
                     const std::string& dialogText) override
    {
        reports.push_back({"error", balloonTitle, balloonText, dialogText});
    }
    void Notice(const std::string& title, const std::string& text) override
    {
        reports.push_back({"notice", title, text, ""});
    }
    bool Ask(const std::string& question) override
    {
        reports.push_back({"ask", question, "", ""});
        return false;
    }
};

inline RecordingSink::Report Error(const std::string& title, const std::string& text, const std::string& dialog)
{
    return {"error", title, text, dialog};
}
inline RecordingSink::Report PlainError(const std::string& text)
{
    return {"error", "Error:", text, text};
}
inline RecordingSink::Report Notice(const std::string& text)
{
    return {"notice", "Signature change:", text, ""};
}
