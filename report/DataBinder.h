#pragma once

#include "core/ReportRequest.h"

#include <QVariant>
#include <QVariantMap>

namespace carvendo::report {

// Turns what a caller hands to a print into the tree a template reads: strings, flags, lists and
// maps only, every value already in the text it prints as.
//   - each dataset becomes a list under its name, each row a map of its columns by name: the name
//     as the query gave it and the same name in lower case (a template may write {{giacenza}}
//     whether the query says Giacenza or GIACENZA);
//   - each named value sits at the top level under its name;
//   - "logo" is true when there is a logo (the picture itself is the image "picture1");
//   - "hidden" maps every hidden memo's name to true: a template wraps a memo in
//     {{^hidden.NAME}} ... {{/hidden.NAME}}.
// Values print as: double, float and core::Money with two decimals the Italian way ("1.234,50");
// integers as they are; any number of a column the request calls a quantity with the decimals
// quantities are kept in (quantityText); dates "dd/MM/yyyy", date-times "dd/MM/yyyy HH:mm", times "HH:mm";
// text as it is (DECIMAL columns arrive as text: select them as DOUBLE to have them formatted); NULL as
// nothing; booleans stay flags for sections. Lists and maps among the values are bound the same way.
class DataBinder
{
public:
    // quantityDecimals: 3 where stock is kept in thousandths, else 0.
    static QVariantMap bind(const core::ReportRequest& request, int quantityDecimals = 0);
    // The printed text of one value (see above); booleans give "" (they are flags).
    static QString text(const QVariant& value);
    // A quantity: with three decimals "2,500", "2,000"; in whole pieces (0) "2", and a fraction
    // still shows, to at most three decimals: "2,5". Anything not a number prints as text().
    static QString quantityText(const QVariant& value, int quantityDecimals);

private:
    static QVariant bindValue(const QVariant& value);
};

} // namespace carvendo::report
