#pragma once

#include <string>

// The project's places and routes as a CSV file (RFC 4180: fields separated by commas, quoted when
// they hold a comma, a quote or a line end, quotes doubled, lines ending in CR LF) for spreadsheets
// and other tools. A header row, then one row per place, approach and route line in list order:
// the entry's name, "Place", "Approach" or "Route", the route line's number, what the values are
// ("Joint", "Cartesian", with " relative" on a relative route line, "Function" or "Contour"), then
// the values as the places window and the route editor show them. Every row has as many fields as
// the header.

// One field, quoted when it must be.
std::string CsvField(const std::string& text);
// The whole file, UTF-8.
std::string PlacesAndRoutesCsv();
// "Export places and routes...": asks for a file (beside the project, its name with ".csv") and
// writes it; a file that cannot be written is reported.
void ExportPlacesAndRoutes();
