# Sources: list them as ${CMAKE_CURRENT_LIST_DIR}/file.cpp
target_sources(sample PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/access_catalogue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/calendar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/catalogue_structures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/field_definition.cpp
  ${CMAKE_CURRENT_LIST_DIR}/film_description.cpp
  ${CMAKE_CURRENT_LIST_DIR}/film_record.cpp
  ${CMAKE_CURRENT_LIST_DIR}/film_title.cpp
  ${CMAKE_CURRENT_LIST_DIR}/heavy_film.cpp
  ${CMAKE_CURRENT_LIST_DIR}/level.cpp
  ${CMAKE_CURRENT_LIST_DIR}/other_records.cpp
  ${CMAKE_CURRENT_LIST_DIR}/person_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/polish_pools.cpp
  ${CMAKE_CURRENT_LIST_DIR}/random_source.cpp
  ${CMAKE_CURRENT_LIST_DIR}/record_values.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sample_catalogue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sqlite_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/utf8_text.cpp
)
