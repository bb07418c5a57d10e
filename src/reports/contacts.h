#pragma once

#include <QString>

// Telephones, faxes and e-mail addresses of an enterprise: typed as a list separated by commas
// and spaces, stored with "#" between the entries, shown with ", ".

// The stored form: every run of commas and spaces after the first other character becomes one
// "#"; leading separators vanish, trailing ones leave one "#". Other characters (apostrophes,
// quotes, any letters) are kept as typed. An entry that itself contains "#" would come back
// split, so it is refused: throws CatalogError with a message naming the entry and field.
QString PackContacts(const QString& typed, const QString& field = QString());

// The display form: every "#" shown as ", ".
QString UnpackContacts(const QString& stored);
