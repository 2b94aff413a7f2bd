#pragma once
// The stored classes of the model, registered in groups so that the class registry can be filled by the layer
// that knows every group (presentation/ClassList.h).

void RegisterElementClasses(); // pictures, fonts, text fields (ElementClasses.cpp)
void RegisterAlbumClasses();   // user pictures, designs, categories, branding (AlbumClasses.cpp)
void RegisterPageClasses();    // presentation pages, elements, actions (PageClasses.cpp)
