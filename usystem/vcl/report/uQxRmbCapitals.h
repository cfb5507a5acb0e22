// The amount in Chinese capital digits that fills the ten-position amount grid of a receipt or
// voucher: from ten-millions of yuan down to fen, each position one "digit" character followed
// by its unit character (仟佰拾万仟佰拾元角分).
//
// Positions above the amount are a space, the position just above its first digit carries "￥",
// and every position from the first digit down shows its capital digit, zeros included:
//     1.23  ->  " 仟 佰 拾 万 仟 佰￥拾壹元贰角叁分"
// An amount of ten digits of fen (10,000,000.00 up to 99,999,999.99) fills all ten positions with
// digits and has no room for "￥". Zero, a negative amount and an amount of more than ten digits
// of fen give an empty text. The fen are rounded as the number format "0" rounds (halves away
// from zero), so 0.004 is "0" fen and gives the full layout with 零 before 分.
#pragma once

#include <QString>

QString FormatRmbCapitals(double Value);
