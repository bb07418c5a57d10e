#pragma once

#include "data/dberror.h"

#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QString>
#include <array>
#include <vector>

// A report template as read from its text (the format is described in
// docs/report-templates.md): a head of settings, then bands of HTML with {{ expressions }}.

// A template that does not parse, or an expression of it that fails; the message names the
// template and the place of the fault.
class TemplateError : public CatalogError {
public:
    using CatalogError::CatalogError;
};

enum class Band { Title, PageHeader, TableHeader, Row, Summary, PageFooter };
constexpr int BandCount = 6;

// A run of literal HTML, or an expression, with its place in the template (1-based).
struct TemplatePiece {
    QString text;
    bool expression = false;
    int line = 0;
    int column = 0;
};

struct ReportTemplate {
    QString title; // how messages name the template
    QString name;  // "name:" of the head
    QPageLayout page{QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                     QPageLayout::Millimeter};
    QFont font{QStringLiteral("DejaVu Sans"), 9};
    QString tableAttributes =
        QStringLiteral("border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"");
    std::array<std::vector<TemplatePiece>, BandCount> bands;
    std::array<bool, BandCount> present{};

    const std::vector<TemplatePiece>& band(Band b) const { return bands[size_t(b)]; }
    bool has(Band b) const { return present[size_t(b)]; }
};

// Parses text; title is how messages name the template. Throws TemplateError.
ReportTemplate parseTemplate(const QString& text, const QString& title);

// "<title>: строка L, столбец C: <what>".
QString templatePlace(const QString& title, int line, int column, const QString& what);
