"""Drawing kit for the pictures shipped with Varnelook: a raster canvas with shapes, a stroked
lettering face, and encoders for the file formats the program reads. Standard library only."""
