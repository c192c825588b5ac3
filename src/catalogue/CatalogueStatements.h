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

// The WHERE piece of the fan-deck list from the fan-deck menu's check marks.
QString FanDeckFilter(bool onlyAlkyd, bool onlyDispersion, bool showOwn);
// " FIV_vejir_id='12'  OR  FIV_vejir_id='13' " for the ids 12 and 13.
QString IdCondition(const QList<int>& fanDeckIds);

// The catalogue's version row.
QString VersionStatement();
// The fan decks the filter lets through, by type and name.
QString FanDecksStatement(const QString& filter);
// The name of the fan deck of an id.
QString FanDeckNameStatement(int fanDeckId);
// Every fan-deck name once per type, without ids.
QString AllFanDeckNamesStatement();
// The ids of every row of a fan deck's type and name.
QString FanDeckIdsStatement(bool alkyd, const QString& fanDeckName);
// The paint kinds that carry any of the fan-deck rows of an id condition.
QString PaintKindsOfFanDecksStatement(const QString& idCondition);
// The paint kinds that carry one fan-deck row.
QString PaintKindsOfFanDeckStatement(int fanDeckId);
// The fan-deck row of an id condition that a paint kind carries.
QString FanDeckOfPaintKindStatement(int paintKindId, const QString& idCondition);
// The shades of one fan-deck row for one paint kind, in the given order.
QString ShadesOfFanDeckStatement(int fanDeckId, int paintKindId, Order order);
// The shades whose name contains a text, in every fan deck.
QString ShadesByNameStatement(const QString& searchText);
// The shades whose components lie strictly between the bounds, in every fan deck.
QString ShadesInColourBoxStatement(int lowRed, int highRed, int lowGreen, int highGreen,
                                   int lowBlue, int highBlue);
// A shade's name and colour, a fan deck's name and type, a paint kind's name, unit
// and type: the overview's look-ups of a layer's references.
QString ShadeStatement(int shadeId);
QString FanDeckStatement(int fanDeckId);
QString PaintKindStatement(int paintKindId);

} // namespace Statements
