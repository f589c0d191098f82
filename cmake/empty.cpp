// Placeholder translation unit for a layer whose modules have not been written yet.
