#pragma once

class ListWindow;

// `products` resale products with valid EANs, built into the window's list
// with `labelsEach` labels typed for each, then the list closed and opened
// again so that it is read afresh, quantities and all. False when the list
// is not shown.
bool openListOf(ListWindow &window, int products, int labelsEach);
