#pragma once
// SQL texts of the row writers that more than one writer prepares.

namespace vx {

constexpr const char* INSERT_COMPOSITE_OBJECT
    = "INSERT INTO CompositeObjects (luid,name,aabb_min_x,aabb_min_y,aabb_min_z,aabb_max_x,"
      "aabb_max_y,aabb_max_z,geometry_luid,geometry_pos_x,geometry_pos_y,geometry_pos_z,"
      "geometry_rot_az,geometry_rot_el,geometry_rot_tw,geometry_scale_x,geometry_scale_y,"
      "geometry_scale_z,explode,chain,traceable,lod_id) "
      "VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);";

} // namespace vx
