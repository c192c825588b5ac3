#pragma once

#include <QList>
#include <QString>

// Every statement the program sends to the catalogue, built as plain text. Text
// spliced into a statement has each single quote doubled, so that it stays one
// literal; ordinary text gives exactly the statement as it has always read.
namespace Statements {

enum class Order { Unordered, ByName, ByInsertion };

// 'It''s' for It's.
QString SqlText(const QString& text);

// The WHERE piece of C2 from the fan-deck menu's check marks.
QString FanDeckFilter(bool onlyAlkyd, bool onlyDispersion, bool showOwn);
// " FIV_vejir_id='12'  OR  FIV_vejir_id='13' " for the ids 12 and 13.
QString IdCondition(const QList<int>& fanDeckIds);

QString C1Version();
QString C2FanDecks(const QString& filter);
QString C3FanDeckName(int fanDeckId);
QString C4AllFanDeckNames();
QString C5FanDeckIds(bool alkyd, const QString& fanDeckName);
QString C6PaintKinds(const QString& idCondition);
QString C7PaintKindsOfFanDeck(int fanDeckId);
QString C8FanDeckOfPaintKind(int paintKindId, const QString& idCondition);
QString C9Shades(int fanDeckId, int paintKindId, Order order);
QString C10SearchShades(const QString& searchText);
QString C11ShadesInBox(int lowRed, int highRed, int lowGreen, int highGreen, int lowBlue,
                       int highBlue);
QString C12Shade(int shadeId);
QString C13FanDeck(int fanDeckId);
QString C14PaintKind(int paintKindId);

} // namespace Statements
