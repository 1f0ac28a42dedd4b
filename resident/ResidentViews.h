#pragma once

// Announces the always-started view and the function views of this library
// to the host: "Resident.clsStartAlwaysView", "Resident.clsLoadFromFile",
// "Resident.clsSaveToFile", "Resident.clsSaveAsToFile", "Resident.clsHTMLPrintOut".
void registerResidentViews();
