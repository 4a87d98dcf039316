#pragma once
// Request bytes as the PC puts them on the line, written out by hand for the unit's tests.

#include <QByteArray>
#include <initializer_list>

namespace korvanex::sim::testing {

QByteArray bytes(std::initializer_list<int> values);
// Head, N, body and the checksum of the body.
QByteArray frameWithChecksum(std::initializer_list<int> body);
QByteArray linkFrame(int command);
QByteArray blockReadFrame(int recallMode, int preset, int block);
QByteArray wholeSetFrame(const QByteArray& values212);

} // namespace korvanex::sim::testing
