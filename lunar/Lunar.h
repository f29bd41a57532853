#pragma once
// The whole calendar engine.
#include "ChnCal.h"
#include "CivilCalendar.h"
#include "Cycles.h"
#include "DateTimeValue.h"
#include "EraTable.h"
#include "Festivals.h"
#include "LeapMonthTable.h"
#include "LunarDate.h"
#include "LunarTexts.h"
#include "NumericRules.h"
#include "SolarTerms.h"
#include "TextFields.h"
